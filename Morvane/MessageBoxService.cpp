#include "MessageBoxService.h"

std::string MessageCaption(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Error:
        return "Error";
    case MessageKind::Confirmation:
        return "Confirmation";
    case MessageKind::Information:
        return "Information";
    case MessageKind::Warning:
        return "Warning";
    }
    return "Error";
}

MessageBoxLayout DescribeMessageBoxStyle(unsigned int style)
{
    using B = MessageButton;
    MessageBoxLayout layout;
    switch (style & 0x0Fu) {
    case 0x1:
        layout.buttons = {B::Ok, B::Cancel};
        break;
    case 0x2:
        layout.buttons = {B::Abort, B::Retry, B::Ignore};
        break;
    case 0x3:
        layout.buttons = {B::Yes, B::No, B::Cancel};
        break;
    case 0x4:
        layout.buttons = {B::Yes, B::No};
        break;
    case 0x5:
        layout.buttons = {B::Retry, B::Cancel};
        break;
    default:
        layout.buttons = {B::Ok};
        break;
    }
    switch (style & 0xF0u) {
    case MB_ICONHAND:
        layout.icon = MessageIcon::Error;
        break;
    case MB_ICONQUESTION:
        layout.icon = MessageIcon::Question;
        break;
    case MB_ICONEXCLAMATION:
        layout.icon = MessageIcon::Warning;
        break;
    case MB_ICONINFORMATION:
        layout.icon = MessageIcon::Information;
        break;
    default:
        layout.icon = MessageIcon::None;
        break;
    }
    return layout;
}

int MessageAnswer(MessageButton button)
{
    switch (button) {
    case MessageButton::Ok:
        return IDOK;
    case MessageButton::Cancel:
        return 2;
    case MessageButton::Abort:
        return 3;
    case MessageButton::Retry:
        return 4;
    case MessageButton::Ignore:
        return 5;
    case MessageButton::Yes:
        return IDYES;
    case MessageButton::No:
        return IDNO;
    }
    return -1;
}

int MessageBoxService::show(MessageKind kind, const std::string& text, unsigned int style)
{
    return showBox(MessageCaption(kind), text, style);
}

LibraryMessageBoxHook::LibraryMessageBoxHook(MessageBoxService& service)
    : m_previous(platform::setMessageBoxHook(
          [&service](const std::string& text, const std::string& caption, unsigned int style) {
              return service.showBox(caption, text, style);
          }))
{
}

LibraryMessageBoxHook::~LibraryMessageBoxHook()
{
    platform::setMessageBoxHook(m_previous);
}
