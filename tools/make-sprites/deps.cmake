# The sprite generator draws with cairo, renders the DejaVu glyphs through FreeType
# and writes its PNGs itself with libpng (RGBA, no time chunk, fixed compression).
find_package(PkgConfig REQUIRED)
pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET cairo cairo-svg)
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
find_package(PNG REQUIRED)
target_link_libraries(${name} PRIVATE PkgConfig::CAIRO PkgConfig::FREETYPE PNG::PNG)
