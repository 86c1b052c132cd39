#include "platform/data_exchange.h"

#include <string>

#include "platform/base/field_text.h"
#include "platform/cwinapp.h"
#include "solar/numeric.h"

namespace platform {

namespace {

void FailWith(CDataExchange& dx, const std::string& message) {
  dx.m_pDlgWnd->App().MessageBox(message, MessageIcon::kExclamation);
  dx.Fail();
}

// Writes the text, leaving the control alone when it already shows it.
void WriteText(CDataExchange& dx, int id, const std::string& text) {
  if (dx.m_pDlgWnd->GetDlgItemText(id) != text) dx.m_pDlgWnd->SetDlgItemText(id, text);
}

std::string ReadText(CDataExchange& dx, int id) {
  return FirstCharacters(dx.m_pDlgWnd->GetDlgItemText(id), kMaxFieldCharacters);
}

}  // namespace

void CDataExchange::Fail() {
  if (m_idLastControl != kNoId) m_pDlgWnd->GotoDlgCtrl(m_idLastControl);
  throw DataExchangeFailed{};
}

void DDX_Text(CDataExchange& dx, int id, int& value) {
  dx.PrepareEditCtrl(id);
  if (!dx.m_bSaveAndValidate) return WriteText(dx, id, FormatIntField(value));
  const std::optional<int> read = ParseIntField(ReadText(dx, id));
  if (!read) FailWith(dx, IntExpectedMessage());
  value = *read;
}

void DDX_Text(CDataExchange& dx, int id, float& value) {
  dx.PrepareEditCtrl(id);
  if (!dx.m_bSaveAndValidate) return WriteText(dx, id, FormatFloatField(value));
  const std::optional<double> read = ParseFloatField(ReadText(dx, id));
  if (!read) FailWith(dx, NumberExpectedMessage());
  value = solar::Single(*read);
}

void DDV_MinMaxInt(CDataExchange& dx, int value, int minimum, int maximum) {
  if (!dx.m_bSaveAndValidate || (minimum <= value && value <= maximum)) return;
  FailWith(dx, IntRangeMessage(minimum, maximum));
}

void DDV_MinMaxFloat(CDataExchange& dx, float value, float minimum, float maximum) {
  if (!dx.m_bSaveAndValidate || (minimum <= value && value <= maximum)) return;
  FailWith(dx, NumberRangeMessage(minimum, maximum));
}

}  // namespace platform
