// make-sprites: draws every picture of the sprite table into one folder.
// Usage: make-sprites [folder] [--rider-preview file.png] [--icons folder]
//   folder defaults to "sprites" and must exist; the preview shows the default
//   sledder assembled from folder/to.png by the game's link sprite rule; --icons
//   also draws the desktop icon into its (existing) folder.
// The output is the same bytes on every run: no random numbers without a fixed
// seed, no time stamps, a fixed PNG encoder setting.
#include "canvas.h"
#include "sprites.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    const char* folder = "sprites";
    const char* preview = nullptr;
    const char* icons = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rider-preview") == 0 && i + 1 < argc)
            preview = argv[++i];
        else if (std::strcmp(argv[i], "--icons") == 0 && i + 1 < argc)
            icons = argv[++i];
        else
            folder = argv[i];
    }
    if (!LoadFaces()) return 1;
    bool ok = true;
    ok = MakeFont(folder) && ok;
    ok = MakeButtons(folder) && ok;
    ok = MakeCursors(folder) && ok;
    ok = MakeRiderSheet(folder) && ok;
    ok = MakePointMarks(folder) && ok;
    ok = MakePanels(folder) && ok;
    ok = MakeExplanations(folder) && ok;
    ok = MakeSmallPictures(folder) && ok;
    if (icons) ok = MakeAppIcons(icons) && ok;
    if (preview) {
        char sheet[1024];
        std::snprintf(sheet, sizeof sheet, "%s/to.png", folder);
        ok = MakeRiderPreview(sheet, preview) && ok;
    }
    if (!ok) std::fprintf(stderr, "make-sprites: some pictures were not written\n");
    return ok ? 0 : 1;
}
