// The generators of the game's pictures; each writes its files into the folder
// and returns false when a file cannot be written.
#pragma once

bool MakeFont(const char* folder);        // font.png
bool MakeButtons(const char* folder);     // buttons1.png
bool MakeCursors(const char* folder);     // cursors.png
bool MakeRiderSheet(const char* folder);  // to.png
bool MakeRiderPreview(const char* sheetPath, const char* previewPath); // the default sledder assembled from a sheet, drawn as the game draws link sprites
bool MakePointMarks(const char* folder);  // dots.png, nachalo_koord.png
bool MakePanels(const char* folder);      // tool_bar.png, tool_bar_re.png, scroll.png, gradient_box.png, timeline.png
bool MakeExplanations(const char* folder); // explain_256_eng.png, explain_re_eng_256.png
bool MakeAppIcons(const char* folder);    // velmora-48/64/128/256.png and velmora.svg, the desktop icon
bool MakeSmallPictures(const char* folder); // back2.png, pencil.png, line_gradient2.png, dot.png, flag.png
