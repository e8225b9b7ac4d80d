// The game's five file dialogs. Each returns one shared 260-character result buffer: the
// chosen path with "\" separators, or "" when cancelled. Use or copy it before the next dialog.
#pragma once

const char* SaveTrackDialog();                    // takes the graphics down around the dialog
const char* LoadTrackDialog();
const char* LoadTextureDialog();
const char* SaveRiderDialog();
const char* LoadRiderDialog();
