// The cab panel keys of the vehicle file (read in the vehicle file's loop).
#include "core/data/vehicle_loader.h"

namespace kestrel {

namespace {

using Ctx = VehicleContext;
using Rule = KeyRule<Ctx>;

void readPicture(Ctx& c, PanelPicture& p) {
  p.file = c.r.valueLine();
  p.x = c.r.intLine();
  p.y = c.r.intLine();
}

void readNeedle(Ctx& c, NeedleSection& n) {
  n.file = c.r.valueLine();
  n.x = c.r.intLine();
  n.y = c.r.intLine();
  n.unused1 = c.r.intLine();
  n.unused2 = c.r.intLine();
  n.a0 = c.r.decimalLine();
  n.k = c.r.decimalLine();
}

void readLinear(Ctx& c, LinearGauge& g) {
  g.file = c.r.valueLine();
  g.x = c.r.intLine();
  g.baseY = c.r.intLine();
  g.k = c.r.decimalLine();
}

void readPattern(Ctx& c, PatternImage& p) {
  p.x = c.r.intLine();
  p.y = c.r.intLine();
  p.patternWidth = c.r.intLine();
  p.patternHeight = c.r.intLine();
  p.file = c.r.valueLine();
}

// [Lamp_signal]: the five pattern-image lines, then one pattern number per line until '#'; an
// empty line keeps its place without a number.
void readLampSignal(Ctx& c) {
  readPattern(c, c.p.Lamp_signal);
  auto& list = c.p.Lamp_signalPatterns;
  list.clear();
  c.r.table([&](const std::string& row) {
    requireRoom(list.size(), PanelLayout::kLampSignalPatternCapacity);
    list.push_back(row.empty() ? std::nullopt : std::optional<int32_t>(SectionReader::toInt(row)));
  });
}

void readOthers(Ctx& c) {
  auto& others = c.p.Others;
  others.clear();
  c.r.groupTable([&](const std::string& first) {
    requireRoom(others.size(), PanelLayout::kOthersCapacity);
    PanelPicture p;
    p.file = first;
    p.x = c.r.intLine();
    p.y = c.r.intLine();
    others.push_back(p);
  });
}

#define KESTREL_PICTURE_KEY(name, label) \
  { "[" #name "]", label, [](Ctx& c) { readPicture(c, c.p.name); } }
#define KESTREL_NEEDLE_KEY(name, label) \
  { "[" #name "]", label, [](Ctx& c) { readNeedle(c, c.p.name); } }
#define KESTREL_PATTERN_KEY(name) \
  { "[" #name "]", "[" #name "]", [](Ctx& c) { readPattern(c, c.p.name); } }

constexpr Rule kPanelRules[] = {
    {"[Clock]", "- アナログ時計",
     [](Ctx& c) {
       c.p.Clock.x = c.r.intLine();
       c.p.Clock.y = c.r.intLine();
       c.p.Clock.r = c.r.intLine();
     }},
    KESTREL_PICTURE_KEY(Panel, "- 運転台パネル"),
    KESTREL_PICTURE_KEY(Panel2, "- 運転台パネル2"),
    KESTREL_PICTURE_KEY(Lamp_Door, {}),
    KESTREL_PICTURE_KEY(Lamp_Power, {}),
    KESTREL_PICTURE_KEY(Lamp_EB, {}),
    KESTREL_PICTURE_KEY(Lamp_Gen, {}),
    KESTREL_PICTURE_KEY(Lamp_Air, {}),
    KESTREL_PICTURE_KEY(Lamp_Fin, {}),
    KESTREL_PICTURE_KEY(Lamp_Ele, {}),
    KESTREL_PICTURE_KEY(Lamp_Ats1, {}),
    KESTREL_PICTURE_KEY(Lamp_Ats2, {}),
    KESTREL_PICTURE_KEY(Lamp_ATSP1, {}),
    KESTREL_PICTURE_KEY(Lamp_ATSP2, {}),
    KESTREL_PICTURE_KEY(Lamp_Fwd, {}),
    KESTREL_PICTURE_KEY(Lamp_Back, {}),
    KESTREL_PICTURE_KEY(Lamp_Stop, {}),
    KESTREL_PICTURE_KEY(Lamp_Const, {}),
    KESTREL_PICTURE_KEY(Lamp_G, "- 運転台パネル3"),
    KESTREL_PICTURE_KEY(Lamp_YG, {}),
    KESTREL_PICTURE_KEY(Lamp_Y, {}),
    KESTREL_PICTURE_KEY(Lamp_YY, {}),
    KESTREL_PICTURE_KEY(Lamp_R, {}),
    {"[Needle_Speed]", "- 速度計",
     [](Ctx& c) {
       readNeedle(c, c.p.Needle_Speed);
       c.p.Needle_Speed.k2 = c.r.decimalLine();
     }},
    KESTREL_NEEDLE_KEY(Needle_BC, "- BC圧力計"),
    {"[Needle_BC_L]", "- BC圧力計（リニア）", [](Ctx& c) { readLinear(c, c.p.Needle_BC_L); }},
    KESTREL_NEEDLE_KEY(Needle_SAP, "- SAP圧力計"),
    KESTREL_NEEDLE_KEY(Needle_ER, "- ER圧力計"),
    KESTREL_NEEDLE_KEY(Needle_BP, "- BP圧力計"),
    KESTREL_NEEDLE_KEY(Needle_MR, "- MR圧力計"),
    {"[Needle_MR_L]", "- MR圧力計（リニア）", [](Ctx& c) { readLinear(c, c.p.Needle_MR_L); }},
    KESTREL_NEEDLE_KEY(Needle_V, "- 電圧計"),
    {"[Needle_I]", "- 電流計",
     [](Ctx& c) {
       readNeedle(c, c.p.Needle_I);
       c.p.Needle_I.mode = c.r.intLine();
     }},
    {"[Lamp_signal]", "[Lamp_signal]", readLampSignal},
    KESTREL_PATTERN_KEY(NotchImageP),
    KESTREL_PATTERN_KEY(NotchImageB),
    KESTREL_PATTERN_KEY(NotchImageP2),
    KESTREL_PATTERN_KEY(NotchImageB2),
    KESTREL_PATTERN_KEY(GearImageList),
    KESTREL_PATTERN_KEY(GearImageList2),
    KESTREL_PATTERN_KEY(Digi_Speed),
    {"[Others]", "[Others]", readOthers},
};

#undef KESTREL_PICTURE_KEY
#undef KESTREL_NEEDLE_KEY
#undef KESTREL_PATTERN_KEY

}  // namespace

std::span<const KeyRule<VehicleContext>> panelKeyRules() { return kPanelRules; }

}  // namespace kestrel
