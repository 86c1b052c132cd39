#include "platform/cdialog.h"

#include "platform/base/exception.h"
#include "platform/cwinapp.h"
#include "platform/data_exchange.h"

namespace platform {

CDialog::CDialog(CWinApp& app, const DialogTemplate& dialogTemplate)
    : m_app(app),
      m_template(dialogTemplate),
      m_client(DialogUnitsToPixelsX(dialogTemplate.width), DialogUnitsToPixelsY(dialogTemplate.height)) {}

int CDialog::DoModal() { return m_app.Ui().RunModal(*this); }

void CDialog::EndDialog(int result) { m_app.Ui().EndModal(*this, result); }

bool CDialog::UpdateData(bool saveAndValidate) {
  CDataExchange dx(*this, saveAndValidate);
  try {
    DoDataExchange(dx);
  } catch (const DataExchangeFailed&) {
    return false;
  }
  return true;
}

bool CDialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void CDialog::OnOK() {
  if (!UpdateData(true)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OpenWindow() {
  m_systemMenu = CMenu();
  m_systemMenu.AppendString(SC_CLOSE, "&Schließen\tAlt+F4");
  m_client.Fill(kDialogBackground);
  m_erasePending = true;
}

bool CDialog::HandleInitDialog() {
  try {
    return OnInitDialog();
  } catch (const CException& e) {
    m_app.MessageBox(e.GetErrorMessage(), MessageIcon::kStop);
    return true;
  }
}

void CDialog::HandleMessage(const Message& message) {
  const std::optional<Message> outer = m_current;
  m_current = message;
  try {
    if (!OnMessage(message)) DefaultHandling(message);
  } catch (const CException& e) {
    m_app.MessageBox(e.GetErrorMessage(), MessageIcon::kStop);
  }
  m_current = outer;
}

void CDialog::Default() {
  if (m_current) DefaultHandling(*m_current);
}

void CDialog::DefaultHandling(const Message& message) {
  switch (message.event) {
    case Event::kCommand:
      if (message.id == IDOK) OnOK();
      if (message.id == IDCANCEL) OnCancel();
      break;
    case Event::kSysCommand:
      if (static_cast<unsigned>(message.id) == SC_CLOSE) HandleMessage({Event::kCommand, IDCANCEL});
      if (static_cast<unsigned>(message.id) == SC_MINIMIZE) m_app.Ui().Minimize(*this);
      break;
    case Event::kPaint:
      m_erasePending = false;
      m_client.Fill(kDialogBackground);
      ClientChanged();
      break;
    case Event::kLButtonDown:
    case Event::kLButtonDblClk:
    case Event::kKeyDown:
      break;
  }
}

std::string CDialog::GetDlgItemText(int id) const { return m_app.Ui().GetControlText(*this, id); }

void CDialog::SetDlgItemText(int id, const std::string& text) { m_app.Ui().SetControlText(*this, id, text); }

void CDialog::GotoDlgCtrl(int id) { m_app.Ui().FocusAndSelect(*this, id); }

void CDialog::SetIcon(const Icon& icon, bool big) {
  m_app.Ui().SetIcon(*this, big ? icon.big : icon.small, big);
  if (big) {
    for (const QImage& image : icon.larger) m_app.Ui().SetIcon(*this, image, big);
  }
}

bool CDialog::IsIconic() const { return m_app.Ui().IsIconic(*this); }

void CDialog::Invalidate(bool erase) {
  if (erase) m_erasePending = true;
  m_app.Ui().Invalidate(*this);
}

bool CDialog::TakeErasePending() {
  const bool pending = m_erasePending;
  m_erasePending = false;
  return pending;
}

void CDialog::ClientChanged() { m_app.Ui().ClientChanged(*this); }

void CDialog::DescribeClient(const std::string& name, const std::string& text) {
  m_app.Ui().DescribeClient(*this, name, text);
}

void CDialog::Announce(const std::string& text) { m_app.Ui().Announce(*this, text); }

}  // namespace platform
