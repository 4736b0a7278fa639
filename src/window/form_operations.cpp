// Caption, erase button and target reset.
#include "window/form_operations.h"

namespace tarnwipe {

std::string TitleText(const std::string& sText) {
  return sText.empty() ? "Tarnwipe - (c) the Tarnwipe team" : "Tarnwipe  " + sText;
}

void SetTitle(FormView& view, const std::string& sText) { view.SetCaption(TitleText(sText)); }

void SetRunTitle(FormView& view, FileProgress& progress, const std::string& sText) {
  SetTitle(view, " " + sText);
  progress.SetRunCaption(TitleText(" " + sText));
}

void SetEraseCaption(FormView& view, const std::string& sText, bool bAppend) {
  view.SetEraseButtonCaption(bAppend ? view.EraseCaption() + sText : sText);
}

void ResetForTarget(FormView& view, const std::string& sName, bool bKeepMessages) {
  if (!bKeepMessages) view.ClearMessages();
  view.SetEraseEnabled(!sName.empty());
  view.SetFocus(view.EraseEnabled() ? Control::kBtnErase : Control::kBtnFile);
}

}  // namespace tarnwipe
