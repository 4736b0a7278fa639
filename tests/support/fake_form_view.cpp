// The fake window's message area keeps lines, so prepending stays cheap as in the real one.
#include "fake_form_view.h"

namespace tarnwipe::test {
namespace {

std::deque<std::string> SplitLines(const std::string& sText) {
  std::deque<std::string> lines;
  size_t lStart = 0;
  for (;;) {
    const size_t p = sText.find("\r\n", lStart);
    lines.push_back(sText.substr(lStart, p == std::string::npos ? std::string::npos : p - lStart));
    if (p == std::string::npos) return lines;
    lStart = p + 2;
  }
}

}  // namespace

std::string FakeFormView::Text() const {
  std::string sText;
  for (size_t i = 0; i < m_lines.size(); ++i) sText += (i > 0 ? "\r\n" : "") + m_lines[i];
  return sText;
}

void FakeFormView::PrependMessage(const std::string& sMsg) {
  const std::deque<std::string> lines = SplitLines(sMsg);
  m_lines.insert(m_lines.begin(), lines.begin(), lines.end());
}

void FakeFormView::AppendMessageText(const std::string& sText) {
  std::deque<std::string> lines = SplitLines(sText);
  if (!m_lines.empty()) {
    m_lines.back() += lines.front();
    lines.pop_front();
  }
  m_lines.insert(m_lines.end(), lines.begin(), lines.end());
}

void FakeFormView::PumpEvents() {
  ++iPumps;
  if (onPump) onPump();
}

}  // namespace tarnwipe::test
