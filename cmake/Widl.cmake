# velmora_widl(<idl> <out-var-sources> [TYPELIB])
#
# Runs widl on an IDL file and produces, in the build tree's generated/ folder,
# the C++ header and the file that defines the GUIDs (compiled as C++ so that
# the Linux build needs no C declarations of its own). With TYPELIB a binary
# type library is made as well; its bitness follows the target.

if(NOT VELMORA_WIDL)
  find_program(VELMORA_WIDL NAMES x86_64-w64-mingw32-widl i686-w64-mingw32-widl widl REQUIRED)
endif()

set(VELMORA_IDL_INCLUDE /usr/include/wine/wine/windows CACHE PATH "Folder holding the standard .idl files")
set(VELMORA_TLB_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows CACHE PATH "Folder holding stdole2.tlb")

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(VELMORA_WIDL_BITS -m32)
else()
  set(VELMORA_WIDL_BITS -m64)
endif()

set(VELMORA_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${VELMORA_GENERATED_DIR})

function(velmora_widl idl out_sources)
  cmake_parse_arguments(ARG "TYPELIB" "" "" ${ARGN})
  get_filename_component(name ${idl} NAME_WE)
  get_filename_component(idl_abs ${idl} ABSOLUTE)
  get_filename_component(idl_dir ${idl_abs} DIRECTORY)
  set(header ${VELMORA_GENERATED_DIR}/${name}.h)
  set(guids ${VELMORA_GENERATED_DIR}/${name}_i.cpp)
  set(outputs ${header} ${guids})
  set(args ${VELMORA_WIDL_BITS} -I${VELMORA_IDL_INCLUDE} -I${idl_dir} -I${VELMORA_GENERATED_DIR}
      -L${VELMORA_TLB_DIR} -h -H ${header} -u -U ${guids})
  if(ARG_TYPELIB)
    list(APPEND outputs ${VELMORA_GENERATED_DIR}/${name}.tlb)
    list(APPEND args -t -T ${VELMORA_GENERATED_DIR}/${name}.tlb)
  endif()
  file(GLOB imported ${idl_dir}/*.idl)
  add_custom_command(
    OUTPUT ${outputs}
    COMMAND ${VELMORA_WIDL} ${args} ${idl_abs}
    DEPENDS ${idl_abs} ${imported}
    COMMENT "widl ${name}.idl"
    VERBATIM)
  set(${out_sources} ${guids} PARENT_SCOPE)
endfunction()
