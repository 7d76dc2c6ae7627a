#pragma once
// Sound effects synthesised from tones and noise, deterministically (a fixed-seed generator).
#include "tools/make_demo/assets.h"

namespace kestrel::demo::synth {

constexpr int kRate = 22050;

Wave silence(double seconds);
// Pads a wave with silence to a whole number of seconds (the line file's announcement lengths
// are whole seconds, read from the header).
Wave padToWholeSeconds(Wave w, double minimum = 1.0);
Wave concat(const Wave& a, const Wave& b);

Wave chime();            // two-note "pin-pon"
Wave departureMelody();  // short platform melody
Wave openingTheme(double seconds);  // the opening movie's soundtrack
Wave atsBell();          // ringing bell (looped by the cab)
Wave atsAlarm();         // continuous warning tone
Wave atsChime();         // acknowledgement chime
Wave atcDing();
Wave patternWarn();      // short beeps of the pattern warning
Wave buzzer();
Wave electricHorn();
Wave airHorn();
Wave airApply();         // brake application hiss
Wave airRelease();
Wave emergencyAir();
Wave notchClick();
Wave notchOff();
Wave doorOpen();
Wave doorClose();
Wave compressorStart();
Wave compressorRun();    // loop
Wave compressorEnd();
Wave ebRing();
Wave squeal();           // loop
Wave switchClatter(bool fast);
Wave motorWhine(double baseHz, int harmonics);  // loop, pitch 1.0 = baseHz
Wave runningNoise();     // loop
Wave crossingBell();     // loop
Wave bridgeRumble();
Wave birds();            // loop
Wave passingTrain();
Wave engineIdle();       // loop
Wave engineStart();
Wave engineStop();
Wave tone(double hz, double seconds, double level = 0.4);

}  // namespace kestrel::demo::synth
