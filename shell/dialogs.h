// The game's five file dialogs. Each returns one shared 260-character result buffer: the
// chosen path with "\" separators, or "" when cancelled. Use or copy it before the next dialog.
// Each opens in the folder its kind of file was last chosen in (at first the game's folder,
// riders/ for riders or sprites/ for pictures); a save over an existing file asks first, and
// "No" reopens the dialog.
#pragma once
#include <functional>

// How the save-track dialog takes the graphics down and brings them back: takeDown returns
// false when they were not up. Set by the frame at start; unset, nothing is taken down.
void SetDialogGraphicsSwitch(std::function<bool()> takeDown, std::function<void()> bringUp);

const char* SaveTrackDialog();                    // takes the graphics down around the dialog
const char* LoadTrackDialog();
const char* LoadTextureDialog();
const char* SaveRiderDialog();
const char* LoadRiderDialog();
