# zbsdlsound: the machine's sound devices through SDL2 (output and capture).
find_package(SDL2 REQUIRED)

add_library(zbsdlsound sdlwave.cpp)
target_link_libraries(zbsdlsound PUBLIC zbplatform PRIVATE SDL2::SDL2)
# Programs that link it can offer the machine's sound devices.
target_compile_definitions(zbsdlsound PUBLIC ZANBEL_HAVE_SDL_SOUND=1)

# Through SDL's disk driver: no sound card needed, the samples land in a file.
zanbel_add_tests(zbsdlsound_tests LABEL desktop
    SOURCES sdlwave_test.cpp
    LIBS zbsdlsound zbsoundsystem zbheadless
    ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_SOURCE_DIR}/sdl.supp")
