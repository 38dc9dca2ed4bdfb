# kit_windows_program(<target> DESCRIPTION <text> [OUTPUT_NAME <file name>]
#                     SOURCES <files...> LIBRARIES <libs...>)
# A shipped window program: GUI subsystem, administrator manifest, version
# resource and icon. OUTPUT_NAME names the .exe when the target cannot carry
# that name ("install" is reserved by CMake).
set(KIT_VERSION_MAJOR 1)
set(KIT_VERSION_MINOR 0)
set(KIT_VERSION_PATCH 0)
set(KIT_PRODUCT_NAME "Morvane")

# The manifest names the architecture the programs are built for.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(KIT_MANIFEST_ARCH amd64)
else()
  set(KIT_MANIFEST_ARCH x86)
endif()
set(KIT_MANIFEST "${CMAKE_BINARY_DIR}/program.manifest")
configure_file("${CMAKE_SOURCE_DIR}/resources/program.manifest.in" "${KIT_MANIFEST}" @ONLY)

function(kit_windows_program target)
  cmake_parse_arguments(ARG "" "DESCRIPTION;OUTPUT_NAME" "SOURCES;LIBRARIES" ${ARGN})
  if(NOT ARG_OUTPUT_NAME)
    set(ARG_OUTPUT_NAME ${target})
  endif()
  set(KIT_FILE_DESCRIPTION "${ARG_DESCRIPTION}")
  set(KIT_ORIGINAL_NAME "${ARG_OUTPUT_NAME}.exe")
  set(KIT_ICON "${CMAKE_SOURCE_DIR}/resources/kit.ico")
  set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.rc")
  configure_file("${CMAKE_SOURCE_DIR}/resources/program.rc.in" "${rc}" @ONLY)
  add_executable(${target} WIN32 ${ARG_SOURCES} "${rc}")
  target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES})
  if(MSVC)
    target_link_options(${target} PRIVATE /MANIFEST:NO)
  else()
    target_link_options(${target} PRIVATE -municode)
  endif()
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${ARG_OUTPUT_NAME}
                        RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/bin")
endfunction()
