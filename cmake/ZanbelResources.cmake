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
