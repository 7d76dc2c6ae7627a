#include "core/data/panel_pictures.h"

#include "core/data/line_loader.h"
#include "core/data/picture_registry.h"
#include "core/util/fatal_error.h"

namespace kestrel {

namespace {

class PanelRegistrar {
 public:
  PanelRegistrar(const std::filesystem::path& dir, PictureLoader& loader, PictureCatalog& catalog,
                 const NamedFileFaults* collect)
      : dir_(dir), loader_(loader), catalog_(catalog), collect_(collect) {}

  void add(const std::string& file, SpriteSpec layout) {
    if (file.empty()) return;
    auto picture = loadCatalogPicture(loader_, dir_, file, layout);
    if (!picture) {
      if (!collect_) throw FatalError(file + std::string(kPictureFault));
      collect_->add(file, file + std::string(kPictureFault));
      return;
    }
    catalog_.put(std::move(*picture));
  }

  void plain(const PanelPicture& p, const char* name, int z, bool transparent = true) {
    add(p.file, spriteAt(name, p.x, p.y, z, transparent));
  }

  void needle(const NeedleSection& n, const char* name, int z) {
    SpriteSpec s = spriteAt(name, n.x, n.y, z, true);
    s.rotating = true;
    add(n.file, s);
  }

  // Linear gauges: opaque, of the rotating kind, moved vertically from the base y.
  void linear(const LinearGauge& g, const char* name, int z) {
    SpriteSpec s = spriteAt(name, g.x, g.baseY, z, false);
    s.rotating = true;
    add(g.file, s);
  }

  // A strip of equally sized patterns: the sprite is one pattern.
  void pattern(const PatternImage& p, const char* name, int z) {
    SpriteSpec s = spriteAt(name, p.x, p.y, z, true);
    s.width = s.patternWidth = p.patternWidth;
    s.height = s.patternHeight = p.patternHeight;
    add(p.file, s);
  }

 private:
  static SpriteSpec spriteAt(const char* name, int32_t x, int32_t y, int z, bool transparent) {
    SpriteSpec s;
    s.name = name;
    s.x = x;
    s.y = y;
    s.z = z;
    s.transparent = transparent;
    return s;
  }

  const std::filesystem::path& dir_;
  PictureLoader& loader_;
  PictureCatalog& catalog_;
  const NamedFileFaults* collect_;
};

}  // namespace

void registerPanelPictures(const PanelLayout& p, const std::filesystem::path& vehicleDirectory,
                           PictureLoader& loader, PictureCatalog& catalog, const NamedFileFaults* collect) {
  PanelRegistrar r(vehicleDirectory, loader, catalog, collect);
  r.plain(p.Panel, "img_Panel", 0, false);
  {
    SpriteSpec s;
    s.name = "img_Panel2";
    s.x = p.Panel2.x;
    s.y = p.Panel2.y;
    s.z = 50;
    s.transparent = true;
    s.rotating = true;
    s.alpha = 0;
    r.add(p.Panel2.file, s);
  }
  r.plain(p.Lamp_Door, "img_Lamp_Door", 49);
  r.plain(p.Lamp_Power, "img_Lamp_Power", 52);
  r.plain(p.Lamp_EB, "img_Lamp_EB", 53);
  r.plain(p.Lamp_Gen, "img_Lamp_Gen", 54);
  r.plain(p.Lamp_Air, "img_Lamp_Air", 54);
  r.plain(p.Lamp_Fin, "img_Lamp_fin", 55);
  r.plain(p.Lamp_Ele, "img_Lamp_Ele", 26);
  r.plain(p.Lamp_Ats1, "img_Lamp_Ats1", 57);
  r.plain(p.Lamp_Ats2, "img_Lamp_Ats2", 58);
  r.plain(p.Lamp_ATSP1, "img_Lamp_Atsp1", 59);
  r.plain(p.Lamp_ATSP2, "img_Lamp_Atsp2", 60);
  r.plain(p.Lamp_Fwd, "img_Lamp_Fwd", 11);
  r.plain(p.Lamp_Back, "img_Lamp_Bck", 12);
  r.plain(p.Lamp_Stop, "img_Lamp_stopalert", 63);
  r.plain(p.Lamp_Const, "img_Lamp_const", 72);
  // [Lamp_G] .. [Lamp_R] are stored, not drawn.
  r.needle(p.Needle_Speed, "img_Needle_speed", 64);
  r.needle(p.Needle_BC, "img_Needle_BC", 67);
  r.linear(p.Needle_BC_L, "img_Needle_BC_L", 23);
  r.needle(p.Needle_SAP, "img_Needle_SAP", 69);
  r.needle(p.Needle_ER, "img_Needle_ER", 66);
  r.needle(p.Needle_BP, "img_Needle_BP", 68);
  r.needle(p.Needle_MR, "img_Needle_MR", 65);
  r.linear(p.Needle_MR_L, "img_Needle_MR_L", 24);
  r.needle(p.Needle_V, "img_Needle_V", 70);
  r.needle(p.Needle_I, "img_Needle_I", 71);
  r.pattern(p.Lamp_signal, "img_cabsignal", 30);
  r.pattern(p.NotchImageP, "img_lamp_p", 31);
  r.pattern(p.NotchImageB, "img_lamp_b", 32);
  r.pattern(p.NotchImageP2, "img_lamp_p2", 36);
  r.pattern(p.NotchImageB2, "img_lamp_b2", 34);
  r.pattern(p.GearImageList, "img_lamp_gear", 35);
  r.pattern(p.GearImageList2, "img_gearlever", 32);
  r.pattern(p.Digi_Speed, "img_digi_speed", 37);
  for (size_t n = 0; n < p.Others.size(); ++n) {
    SpriteSpec s;
    s.name = "img_other" + std::to_string(n);
    s.x = p.Others[n].x;
    s.y = p.Others[n].y;
    s.z = 20 + static_cast<int>(n);
    s.transparent = true;
    s.visible = false;
    r.add(p.Others[n].file, s);
  }
}

void registerStafPictures(const LineData& line, const SettingsData& settings,
                          const std::filesystem::path& programDirectory, PictureLoader& loader,
                          PictureCatalog& catalog, const NamedFileFaults* collect) {
  auto load = [&](const std::string& file, SpriteSpec layout) -> std::optional<CatalogPicture> {
    if (file.empty()) return std::nullopt;
    auto picture = loadCatalogPicture(loader, programDirectory, file, layout);
    if (!picture) {
      if (!collect) throw FatalError(file + std::string(kStafPictureMissing));
      collect->add(file, file + std::string(kStafPictureMissing));
    }
    return picture;
  };
  SpriteSpec card;
  card.name = "staf";
  card.x = settings.Disp.StafX;
  card.transparent = true;
  catalog.stafCard = load(line.Staf[0], card);
  // The sub-display: the 480 x 360 picture control right of the cab display.
  SpriteSpec sub;
  sub.name = "sub_disp";
  sub.x = 798;
  sub.y = 545;
  sub.width = 480;
  sub.height = 360;
  catalog.subDisplay = load(line.Staf[2], sub);
}

}  // namespace kestrel
