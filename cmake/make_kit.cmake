# Assembles the kit folder as a user receives it:
#   install.exe, InstallSkin/, Install/setup.bat,
#   Vemora/ (the product with uninstall.exe, update.exe and their skins)
# Usage: cmake -DKIT_BIN=<build/bin> -DKIT_SOURCE=<source> -DKIT_OUT=<folder> -P make_kit.cmake
foreach(var KIT_BIN KIT_SOURCE KIT_OUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "make_kit.cmake needs -D${var}=...")
  endif()
endforeach()

file(REMOVE_RECURSE "${KIT_OUT}")
file(MAKE_DIRECTORY "${KIT_OUT}/Vemora")

function(kit_copy_program name destination)
  if(EXISTS "${KIT_BIN}/${name}")
    file(COPY "${KIT_BIN}/${name}" DESTINATION "${destination}")
  else()
    message(STATUS "kit: ${name} is not built yet, left out")
  endif()
endfunction()

function(kit_copy_folder folder destination)
  if(EXISTS "${folder}")
    file(COPY "${folder}" DESTINATION "${destination}")
  endif()
endfunction()

kit_copy_program(install.exe "${KIT_OUT}")
kit_copy_folder("${KIT_SOURCE}/skins/InstallSkin" "${KIT_OUT}")
kit_copy_folder("${KIT_SOURCE}/kit/Install" "${KIT_OUT}")

set(product "${KIT_OUT}/Vemora")
kit_copy_program(Morvane.exe "${product}")
kit_copy_program(uninstall.exe "${product}")
kit_copy_program(update.exe "${product}")
kit_copy_folder("${KIT_SOURCE}/skins/InstallSkin" "${product}")
kit_copy_folder("${KIT_SOURCE}/skins/mainSkin" "${product}")
file(GLOB product_files "${KIT_SOURCE}/kit/Vemora/*")
foreach(file IN LISTS product_files)
  if(NOT file MATCHES "\\.in$")
    file(COPY "${file}" DESTINATION "${product}")
  endif()
endforeach()

# The removal script deletes exactly what the kit installs.
set(uninstall_generator "${KIT_SOURCE}/cmake/uninstall_script.cmake")
if(EXISTS "${uninstall_generator}")
  include("${uninstall_generator}")
endif()

message(STATUS "kit: assembled in ${KIT_OUT}")
