# Compiler and linker settings shared by every target of the three builds.

if(WIN32)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
  # Nothing but system DLLs may be needed beside the DLL and the test programs.
  add_link_options(-static -static-libgcc -static-libstdc++)
  set(VELMORA_SYSTEM_LIBS ole32 oleaut32 uuid shlwapi shell32 advapi32)
else()
  set(VELMORA_SYSTEM_LIBS velmora_platform)
endif()

add_compile_options(-Wall -Wextra -Wno-unused-parameter)

if(VELMORA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
