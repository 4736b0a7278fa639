// Caption, erase button and target reset.
#include "runs/form_operations.h"

namespace tarnwipe {

void SetTitle(FormView& view, const std::string& sText) {
  view.SetCaption(sText.empty() ? "Tarnwipe - (c) the Tarnwipe team" : "Tarnwipe  " + sText);
}

void SetEraseCaption(FormView& view, const std::string& sText, bool bAppend) {
  view.SetEraseButtonCaption(bAppend ? view.EraseCaption() + sText : sText);
}

void ResetForTarget(FormView& view, const std::string& sName) {
  view.ClearMessages();
  view.SetEraseEnabled(!sName.empty());
  view.SetFocus(view.EraseEnabled() ? Control::kBtnErase : Control::kBtnFile);
}

}  // namespace tarnwipe
