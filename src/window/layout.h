// The main window's design, in twips (1/1440 inch): where each control stands and how large it
// is. Every window adapter lays itself out from this one table.
#pragma once

namespace tarnwipe::layout {

struct Twips {
  int iLeft, iTop, iWidth, iHeight;
};

inline constexpr Twips kClient{0, 0, 8430, 5190};
inline constexpr Twips kTimes{1320, 280, 375, 285};
inline constexpr Twips kSpec{4320, 280, 1815, 285};
inline constexpr Twips kInfo{6360, 280, 1695, 285};
// Three choices share the row: a file, a map, or what was deleted before.
inline constexpr Twips kFile{360, 840, 2415, 495};
inline constexpr Twips kMap{3000, 840, 2415, 495};
inline constexpr Twips kDeleted{5640, 840, 2415, 495};
inline constexpr Twips kMsg{360, 1560, 7695, 2175};
inline constexpr Twips kErase{360, 3960, 7695, 855};
inline constexpr Twips kProgress{360, 4680, 7695, 465};
// Where the progress label stands once a run has shown its dots.
inline constexpr int kProgressRunTop = 4700;

// A label may grow to hold its text in the toolkit's font, but stops where iRightLimit begins:
// the pass-count label's design width runs under the pass-count box.
struct Label {
  const char* pText;
  Twips place;
  int iRightLimit;
};
inline constexpr Label kLabels[] = {{"&Obfuscate:", {360, 310, 2175, 255}, 1320},
                                    {"times  (max 25)", {1750, 315, 1095, 255}, 3720},
                                    {"Erase:", {3720, 315, 975, 255}, 4320}};

}  // namespace tarnwipe::layout
