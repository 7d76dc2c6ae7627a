#include "tools/make_demo/line_sounds.h"

#include <cmath>

#include "tools/make_demo/synth.h"

namespace kestrel::demo {

namespace {

int add(LineSounds& s, Assets& a, const std::string& name, const Wave& w) {
  a.wave(name, w);
  s.soundData.push_back(name);
  s.seconds.push_back(static_cast<int>(std::lround(w.seconds())));
  return static_cast<int>(s.soundData.size()) - 1;
}

std::string sideKana(int side) { return side == 0 ? "ひだりがわ" : "みぎがわ"; }

}  // namespace

LineSounds makeLineSounds(Assets& a, const Route& r, const Voices& v) {
  LineSounds s;
  using synth::padToWholeSeconds;
  s.startChime = add(s, a, "sound\\line\\chime.wav", padToWholeSeconds(synth::chime()));
  s.departure = add(s, a, "sound\\line\\depart.wav",
                    padToWholeSeconds(synth::concat(synth::departureMelody(), v.say("どあが しまります。ごちゅうい ください"))));
  for (size_t i = 0; i < r.stations.size(); ++i) {
    const auto& st = r.stations[i];
    s.arrival.push_back(add(s, a, "sound\\line\\arrive" + std::to_string(i) + ".wav",
                            padToWholeSeconds(v.say(st.kana + "、" + st.kana + "です"))));
  }
  s.running[0] = add(s, a, "sound\\line\\run.wav", synth::runningNoise());
  s.crossingBell = add(s, a, "sound\\line\\crossing.wav", synth::crossingBell());
  s.bridge = add(s, a, "sound\\line\\bridge.wav", synth::bridgeRumble());
  s.birds = add(s, a, "sound\\line\\birds.wav", synth::birds());
  s.passingTrain = add(s, a, "sound\\line\\overtake.wav", synth::passingTrain());

  const auto& last = r.stations.back();
  s.announce.push_back(add(s, a, "sound\\line\\ann0.wav",
                           padToWholeSeconds(v.say("ごじょうしゃ ありがとう ございます。この でんしゃは ふつう、" + last.kana +
                                                   "ゆき、わんまんかー です"))));
  for (size_t i = 1; i < r.stations.size(); ++i) {
    const auto& st = r.stations[i];
    std::string text = "つぎは、" + st.kana + "です。おでぐちは " + sideKana(st.platformSide) + "です";
    if (i + 1 == r.stations.size()) text = "つぎは、しゅうてん " + st.kana + "です。おでぐちは " + sideKana(st.platformSide) + "です";
    s.announce.push_back(add(s, a, "sound\\line\\ann" + std::to_string(i) + ".wav", padToWholeSeconds(v.say(text))));
  }

  // The second running-noise number, last, so that the numbers before it stay as they were.
  s.running[1] = add(s, a, "sound\\line\\run2.wav", synth::runningNoise());

  // The 22 fixed call-outs in the order of the call-out tables: the aspects, the time
  // differences, late and early, on time, doors closed, first notch, high-speed clear.
  const char* fixed[22] = {"ていし", "けいかい", "ちゅうい", "げんそく", "しんこう", "せいげん",
                           "さんじゅうびょう", "よんじゅうごびょう", "いっぷん", "いっぷん じゅうごびょう",
                           "いっぷん さんじゅうびょう", "いっぷん よんじゅうごびょう", "にふん",
                           "おくれ", "おくれて います", "はやい", "はやく なって います", "ていじ", "ていじ です",
                           "とじめ よし", "はっしゃ", "こうそく しんこう"};
  for (int i = 0; i < 22; ++i) {
    const std::string name = "sound\\kanko\\k" + std::to_string(i) + ".wav";
    a.wave(name, v.say(fixed[i], 170));
    s.kanko1.push_back(name);
  }
  s.kanko2 = {"sound\\kanko\\stoppos.wav", "sound\\kanko\\crossing.wav"};
  a.wave(s.kanko2[0], v.say("ていしいち よし", 170));
  a.wave(s.kanko2[1], v.say("ふみきり よし", 170));
  s.clipStopPosition = 22;
  s.clipCrossing = 23;
  s.otherKanko = {"sound\\kanko\\tunnel.wav", "sound\\kanko\\slope.wav"};
  a.wave(s.otherKanko[0], v.say("ずいどう ちゅうい", 170));
  a.wave(s.otherKanko[1], v.say("こうばい ちゅうい", 170));
  for (const auto& l : r.limits) {
    const std::string name = "sound\\kanko\\limit" + std::to_string(l.kmh) + ".wav";
    if (a.has(name)) continue;
    const char* words = l.kmh == 75 ? "せいげん ななじゅうご" : (l.kmh == 45 ? "せいげん よんじゅうご" : "せいげん");
    a.wave(name, v.say(words, 170));
    s.limitKanko.push_back(name);
  }
  return s;
}

}  // namespace kestrel::demo
