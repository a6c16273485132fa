#pragma once

namespace mivrel {

// Asks the window system to report a held key as repeated presses followed by
// one release. An X server otherwise sends a release before every repeated
// press, and whether the toolkit recognises such a pair as auto-repeat depends
// on how the two events happen to arrive; the slip editor moves on the final
// release of Tab, so it must see exactly one. No effect on other platforms,
// which report held keys that way already.
void ReportHeldKeysAsRepeatedPresses();

} // namespace mivrel
