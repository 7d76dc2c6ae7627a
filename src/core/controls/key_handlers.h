#pragma once
// The cab window's key handlers, the program's single command vocabulary: typed characters
// (AsciiDown), virtual keys with their shift state (keydowns, keyups) and the mouse wheel, which
// posts characters that reach AsciiDown after the message being handled.
#include "core/controls/virtual_key.h"
#include "core/state/drive_context.h"

namespace kestrel {

void AsciiDown(DriveContext& ctx, char32_t key);
void keydowns(DriveContext& ctx, VirtualKey key, KeyModifiers modifiers);
void keyups(DriveContext& ctx, VirtualKey key);
// The release of a typed character's key ("3" or "4", also from the numeric pad): ends the held
// horn and buzzer. The desktop calls it on every key release that typed a character.
void keyupChar(DriveContext& ctx, char32_t key);

// Post "8" (WheelD), or "0" from the highest service step and "2" otherwise (WheelU).
void WheelD(DriveContext& ctx);
void WheelU(DriveContext& ctx);
// Hands every posted character to AsciiDown, in order (also those posted meanwhile); a posted
// carriage return is the Enter key pressed, so keydowns sees Enter first.
void deliverPostedCharacters(DriveContext& ctx);

// Driver activity for the vigilance device (step 1 of AsciiDown): the counter back to 0, the EB
// bell stopped, the EB lamp dark.
void resetVigilance(DriveContext& ctx);

}  // namespace kestrel
