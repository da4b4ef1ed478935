# Warnings and sanitizers for every target of the project.
add_compile_options(-Wall -Wextra -Wnon-virtual-dtor -Wno-missing-field-initializers)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-Wshadow=local)
endif()
if(ZANBEL_WERROR)
  add_compile_options(-Werror)
endif()

if(ZANBEL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Libraries of the core are linked into several programs and into the shared
# artwork library, so they are position independent.
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

# The fuzz build instruments every library for coverage.
if(ZANBEL_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
