# The screenshot player reads the window back with GL and writes the picture with libpng.
find_package(PNG REQUIRED)
find_package(OpenGL REQUIRED)
target_link_libraries(${name} PRIVATE PNG::PNG OpenGL::GL)
