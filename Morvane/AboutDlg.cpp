#include "AboutDlg.h"

void AboutDlg::OnInitDialog()
{
    screen().setTitle(Caption);
    screen().setControlText(VersionField, m_store.VersionText());
}
