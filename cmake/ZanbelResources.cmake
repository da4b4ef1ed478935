# How generated resources reach the programs and libraries that carry them.
#
# A folder whose tool makes resources (frame sets, tables, sounds, the
# palette, the example invention) writes them as a Win32 .res file and
# announces it here:
#
#   zanbel_add_generated_resources(MODULE zbgadget RES ${out}/artwork.res TARGET zb_artwork_res)
#
# MODULE is one of
#   zanbel    the editor's own resources
#   player    the player template ZANBEL.SLF's own resources
#   zbgadget  the artwork library ZBGADGET.DLL
#   zbsound   the sound library ZBSOUND.DLL
# RES is the file the TARGET (a custom target) produces. resources/ gathers
# every announced file per module and attaches the merged tree to the binary.
function(zanbel_add_generated_resources)
  cmake_parse_arguments(R "" "MODULE;RES;TARGET" "" ${ARGN})
  if(NOT R_MODULE OR NOT R_RES OR NOT R_TARGET)
    message(FATAL_ERROR "zanbel_add_generated_resources needs MODULE, RES and TARGET")
  endif()
  set_property(GLOBAL APPEND PROPERTY ZANBEL_RES_${R_MODULE} ${R_RES})
  set_property(GLOBAL APPEND PROPERTY ZANBEL_RES_TARGETS_${R_MODULE} ${R_TARGET})
endfunction()

# Resource scripts in the .rc syntax, UTF-8 with Danish text, compiled by the
# resource compiler and announced like any generated resources:
#
#   zanbel_add_resource_script(MODULE zanbel SCRIPT zanbel.rc DEPENDS alerts.rc zanbel.h)
#
# The scripts see resources/ on their include path (resources/zanbel.h holds
# the constants they share). The script comes after "--": the compiler takes
# any argument that starts with a slash for an option, and a source tree under
# /check would otherwise be read as /C with a code page of "heck...".
find_program(ZANBEL_LLVM_RC NAMES llvm-rc-14 llvm-rc)

function(zanbel_add_resource_script)
  cmake_parse_arguments(R "" "MODULE;SCRIPT" "DEPENDS" ${ARGN})
  if(NOT R_MODULE OR NOT R_SCRIPT)
    message(FATAL_ERROR "zanbel_add_resource_script needs MODULE and SCRIPT")
  endif()
  if(NOT ZANBEL_LLVM_RC)
    message(FATAL_ERROR "llvm-rc-14 is missing: run scripts/install-deps")
  endif()
  get_filename_component(script ${R_SCRIPT} ABSOLUTE)
  get_filename_component(base ${script} NAME_WE)
  get_filename_component(folder ${script} DIRECTORY)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${base}.rc.res)
  set(deps)
  foreach(d ${R_DEPENDS})
    get_filename_component(d ${d} ABSOLUTE)
    list(APPEND deps ${d})
  endforeach()
  add_custom_command(OUTPUT ${out}
      COMMAND ${ZANBEL_LLVM_RC} /C 65001 /I ${folder} /I ${CMAKE_SOURCE_DIR}/resources /FO ${out} -- ${script}
      DEPENDS ${script} ${deps}
      COMMENT "Ressourcescript ${base}.rc"
      VERBATIM)
  add_custom_target(zanbel_rc_${R_MODULE}_${base} DEPENDS ${out})
  zanbel_add_generated_resources(MODULE ${R_MODULE} RES ${out} TARGET zanbel_rc_${R_MODULE}_${base})
endfunction()

# Gives a program or library the resources of a module: after every link the
# module's merged resources (resources/<module>.res in the build folder,
# gathered by resources/CMakeLists.txt) become the binary's .rsrc section, and
# a change of any of them links the binary again.
#
#   zanbel_attach_resources(TARGET zanbel-cli MODULE zanbel)
function(zanbel_attach_resources)
  cmake_parse_arguments(A "" "TARGET;MODULE" "" ${ARGN})
  if(NOT A_TARGET OR NOT A_MODULE)
    message(FATAL_ERROR "zanbel_attach_resources needs TARGET and MODULE")
  endif()
  set(merged ${CMAKE_BINARY_DIR}/resources/${A_MODULE}.res)
  add_custom_command(TARGET ${A_TARGET} POST_BUILD
      COMMAND zanbel-rsrc attach --objcopy ${CMAKE_OBJCOPY} $<TARGET_FILE:${A_TARGET}> ${merged}
      COMMENT "Ressourcer (${A_MODULE}) til $<TARGET_FILE_NAME:${A_TARGET}>"
      VERBATIM)
  set_property(TARGET ${A_TARGET} APPEND PROPERTY LINK_DEPENDS ${merged})
  add_dependencies(${A_TARGET} zanbel-rsrc zanbel_res_${A_MODULE})
endfunction()
