// The About dialog of the main window: the version text in a read-only field, and OK.
#pragma once

#include "Screen.h"

#include "store/PackageStore.h"

class AboutDlg : public Dialog {
public:
    enum Control : int { VersionField = 1025 };
    static constexpr const char* Caption = "About Morvane";

    explicit AboutDlg(PackageStore& store) : m_store(store) {}

    void OnInitDialog();

private:
    PackageStore& m_store;
};
