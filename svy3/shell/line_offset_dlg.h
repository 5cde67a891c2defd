// CLineOffsetDlg: the modal dialog that asks for the spacing between survey lines, in metres.
#pragma once

#include "svy3/platform/export.h"

namespace ZAR {

// Results of a modal dialog run. Where the Windows headers already define these names as macros,
// the macros (with the same values) are used instead.
#ifndef IDOK
constexpr int IDOK = 1;  // closed with OK; the entered value was taken
#endif
#ifndef IDCANCEL
constexpr int IDCANCEL = 2;  // closed from the system menu; nothing was taken
#endif

// One modal run per object: set m_dOffset, call DoModal, read m_dOffset. The dialog is shown
// through the installed line offset prompt (see line_offset_prompt.h).
class SVY3_API CLineOffsetDlg {
  public:
    static constexpr int IDD = 5000;              // dialog template number
    static constexpr int IDC_EDIT_OFFSET = 5000;  // control number of the edit box
    static constexpr const char* kTitle = "Enter Line Offset";
    static constexpr double kMinOffset = 0.0;     // smallest value OK accepts, in metres
    static constexpr double kMaxOffset = 1000.0;  // largest value OK accepts, in metres
    // Validation messages, shown with the exclamation icon.
    static constexpr const char* kNotANumberMessage = "Please enter a number.";
    static constexpr const char* kOutOfRangeMessage =
        "Please enter a number between 0.0 and 1000.0.";

    CLineOffsetDlg() = default;

    // Runs the dialog. The edit box starts with m_dOffset as the shortest decimal text that reads
    // back as the same value ("0.1", "1000", "1e-07"). On OK the text must be one decimal number
    // (blanks around it allowed, a leading sign allowed, nothing else) from kMinOffset to
    // kMaxOffset inclusive; otherwise the matching validation message is shown and the prompt is
    // asked again with the text as entered. Returns IDOK with m_dOffset set to the entered value,
    // or IDCANCEL with m_dOffset unchanged when the window is closed.
    int DoModal();

    double m_dOffset = 0.0;  // the line offset in metres
};

}  // namespace ZAR
