// The package combo of the main window's options panel: a drop-down list of package names held
// in sorted order, with at most one entry selected. The window's package management (the
// MorvaneDlg operations defined in PackageManagement.cpp) reads the package shown from it; the
// view mirrors it and hands the user's choice back.
#pragma once

#include <string>
#include <vector>

class SortedComboBox {
public:
    class Observer {
    public:
        virtual ~Observer() = default;
        // The entries or the selection changed.
        virtual void comboChanged() = 0;
    };

    void addObserver(Observer* observer);
    void removeObserver(Observer* observer);

    // Removes every entry; nothing is selected afterwards.
    void ResetContent();
    // Inserts an entry at its place in the order (letters compared without regard to case, ties
    // in byte order, equal entries after each other) and returns its index. The selected entry
    // stays selected.
    int AddString(const std::string& text);
    // Removes an entry; removing the selected one leaves nothing selected.
    bool DeleteString(int index);
    int GetCount() const;
    // The text of an entry; "" outside the list.
    std::string GetLBText(int index) const;

    // The selected entry, -1 for none.
    int GetCurSel() const { return m_selected; }
    // Selects an entry, or nothing for -1; other indexes outside the list are refused.
    bool SetCurSel(int index);
    // The first entry that begins with text, letters compared without regard to case; every
    // entry begins with the empty text. -1 when none does.
    int FindString(const std::string& text) const;
    // Selects the entry FindString finds and returns its index; when none is found the
    // selection stays as it was and the result is -1.
    int SelectString(const std::string& text);
    // The text the combo shows: the selected entry, "" while nothing is selected.
    std::string GetWindowText() const;

private:
    void notify();

    std::vector<std::string> m_entries;
    int m_selected = -1;
    std::vector<Observer*> m_observers;
};
