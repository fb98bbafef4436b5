#include "BrowseReg.h"

#include "MessageText.h"

#include "registry/RegistryKey.h"
#include "registry/RegistryRoot.h"

namespace {

constexpr char TopItemPrefix[] = "My Computer\\";

// The path without the tree's own top item in front of it.
std::string withoutTopItem(const std::string& path)
{
    return path.starts_with(TopItemPrefix) ? path.substr(sizeof TopItemPrefix - 1) : path;
}

int typeImage(std::uint32_t type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ ? BrowseReg::TextValue
                                                                            : BrowseReg::BinaryValue;
}

} // namespace

BrowseReg::BrowseReg(PackageStore& store, MessageBoxService* messages, int valueMode)
    : valueMode(valueMode), m_store(store), m_messages(messages)
{
}

void BrowseReg::OnInitDialog()
{
    WaitCursor wait(screen());
    screen().setTitle(Caption);
    screen().showControl(ValueList, false);
    screen().showControl(SplitterButton, false);
    m_items.clear();
    const int top = addItem(-1, TopItemText, Computer, Computer);
    for (const RegistryRoot& root : registryRoots)
        addItem(top, std::string(root.longName), ClosedFolder, OpenFolder);
    screen().setControlText(PathField, "");
}

int BrowseReg::addItem(int parent, const std::string& text, int image, int selectedImage)
{
    const int index = static_cast<int>(m_items.size());
    m_items.push_back({text, image, selectedImage, parent, {}});
    if (parent >= 0)
        m_items[static_cast<std::size_t>(parent)].children.push_back(index);
    return index;
}

void BrowseReg::OnSelChanged(int item)
{
    if (item < 0 || item >= static_cast<int>(m_items.size()))
        return;
    WaitCursor wait(screen());
    TreeItem& selected = m_items[static_cast<std::size_t>(item)];

    if (selected.image == TextValue || selected.image == BinaryValue) {
        selected.selectedImage = selected.image;
        std::string path = selected.text;
        for (int above = selected.parent; above >= 0; above = m_items[static_cast<std::size_t>(above)].parent)
            path = m_items[static_cast<std::size_t>(above)].text + "\\" + path;
        screen().setControlText(PathField, path);
        resultPath = path;
        return;
    }

    std::string displayPath;
    const RegistryRoot* root = nullptr;
    for (int on = item; on >= 0; on = m_items[static_cast<std::size_t>(on)].parent) {
        const std::string& text = m_items[static_cast<std::size_t>(on)].text;
        displayPath = text + "\\" + displayPath;
        for (const RegistryRoot& candidate : registryRoots) {
            if (text == candidate.longName)
                root = &candidate;
        }
    }
    screen().setControlText(PathField, displayPath);
    resultPath = withoutTopItem(displayPath);
    if (!root)
        return;

    const std::string rootPrefix = std::string(root->longName) + "\\";
    std::string subkeyPath = resultPath.starts_with(rootPrefix) ? resultPath.substr(rootPrefix.size()) : resultPath;
    if (!subkeyPath.empty() && subkeyPath.back() == '\\')
        subkeyPath.pop_back();
    if (!selected.children.empty())
        return;
    ReadChildren(item, root->handle, subkeyPath);
}

void BrowseReg::ReadChildren(int item, unsigned int rootKey, const std::string& subkeyPath)
{
    RegistryKey key;
    if (key.open(rootKey, subkeyPath)) {
        std::string name;
        for (std::size_t index = 0; key.enumKey(index, name); ++index) {
            if (!name.empty())
                addItem(item, name, ClosedFolder, OpenFolder);
        }
        key.close();
    }
    if (!valueMode || !key.open(rootKey, subkeyPath))
        return;
    RegistryValueInfo value;
    for (std::size_t index = 0; key.enumValue(index, value); ++index) {
        if (!value.name.empty())
            addItem(item, value.name, typeImage(value.type), OpenFolder);
    }
    key.close();
}

void BrowseReg::OnOK()
{
    resultPath = withoutTopItem(screen().controlText(PathField));
    if (valueMode) {
        std::string path = resultPath;
        std::string data;
        if (!m_store.ReadRegistryValue(path, data, true)) {
            ShowError(InvalidRegistryPathText);
            return;
        }
        std::string offending;
        if (!m_store.CheckNameCharacters(data, true, offending)) {
            ShowError(withArguments(InvalidCharacterText, {offending}));
            return;
        }
    }
    screen().endDialog(IDOK);
}

void BrowseReg::OnCancel()
{
    screen().endDialog(MessageAnswer(MessageButton::Cancel));
}

void BrowseReg::ShowError(const std::string& text)
{
    if (m_messages)
        m_messages->show(MessageKind::Error, text, MB_OK | MB_ICONERROR);
}
