#pragma once

#include "platform/cdialog.h"

namespace platform {

// Thrown by a failed reading to end the exchange; UpdateData turns it into false.
struct DataExchangeFailed {};

// The context of one exchange between members and controls: its direction and the control
// prepared last, which takes the focus when a check fails.
class CDataExchange {
 public:
  CDataExchange(CDialog& dialog, bool saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(&dialog) {}

  void PrepareEditCtrl(int id) { m_idLastControl = id; }
  // Focuses and selects the last prepared control and ends the exchange.
  [[noreturn]] void Fail();

  const bool m_bSaveAndValidate;
  CDialog* const m_pDlgWnd;
  int m_idLastControl = kNoId;
};

void DDX_Text(CDataExchange& dx, int id, int& value);
void DDX_Text(CDataExchange& dx, int id, float& value);
void DDV_MinMaxInt(CDataExchange& dx, int value, int minimum, int maximum);
void DDV_MinMaxFloat(CDataExchange& dx, float value, float minimum, float maximum);

}  // namespace platform
