# Writes <kit>/Vemora/Uninstall.bat from kit/Vemora/Uninstall.bat.in with the
# lists of what the kit installs: every file below the product folder as it is
# assembled (the script itself included), plus the install-time record that
# the installer adds before the copy, and every folder below it.
# Included by make_kit.cmake once the product folder is complete; uses
# KIT_SOURCE and KIT_OUT.
set(kit_product "${KIT_OUT}/Vemora")
set(kit_script "${kit_product}/Uninstall.bat")

# Written by the installer into the product folder just before the copy.
set(kit_installer_files "InstallTime.txt")

# The script passes each name to a subroutine (CALL expands "%" and doubles
# "^" a second time) and reads as OEM text: the kit's own names stay plain.
function(kit_check_script_name name)
  if(NOT name MATCHES "^[A-Za-z0-9 ._()+,=#@$~'/-]+$")
    message(FATAL_ERROR "kit: \"${name}\" cannot go into Uninstall.bat: the kit's file "
                        "names must be plain ASCII without % ^ ! & \" < > |")
  endif()
endfunction()

file(GLOB_RECURSE kit_entries RELATIVE "${kit_product}" LIST_DIRECTORIES true "${kit_product}/*")
list(SORT kit_entries)
set(kit_files "${kit_installer_files}")
set(kit_folders)
foreach(entry IN LISTS kit_entries)
  kit_check_script_name("${entry}")
  if(IS_DIRECTORY "${kit_product}/${entry}")
    list(APPEND kit_folders "${entry}")
  else()
    list(APPEND kit_files "${entry}")
  endif()
endforeach()
list(REMOVE_ITEM kit_files "Uninstall.bat")  # deleted last, by the script's own last line
list(REMOVE_DUPLICATES kit_files)
list(SORT kit_files)
# Reverse order puts every folder before the folder that holds it.
list(REVERSE kit_folders)

set(KIT_REMOVE_FILES "")
foreach(file IN LISTS kit_files)
  string(REPLACE "/" "\\" file "${file}")
  string(APPEND KIT_REMOVE_FILES "call :remove_file \"${file}\"\n")
endforeach()
set(KIT_REMOVE_FOLDERS "")
foreach(folder IN LISTS kit_folders)
  string(REPLACE "/" "\\" folder "${folder}")
  string(APPEND KIT_REMOVE_FOLDERS "rd \"${folder}\" >nul 2>&1\n")
endforeach()

file(READ "${KIT_SOURCE}/kit/Vemora/Uninstall.bat.in" kit_template)
string(CONFIGURE "${kit_template}" kit_text @ONLY)
# Batch files need CR LF throughout: cmd finds labels wrongly in files with
# bare LF line ends.
string(REPLACE "\r\n" "\n" kit_text "${kit_text}")
string(REPLACE "\n" "\r\n" kit_text "${kit_text}")
file(WRITE "${kit_script}" "${kit_text}")
