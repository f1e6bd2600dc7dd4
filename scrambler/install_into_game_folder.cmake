# Installs the scrambling library (ORVDLL_FILE) into the game folder's
# library folder "dat". A game folder made on Windows may spell that folder
# "DAT" or "Dat", and the programs find it in any case: the library goes into
# the folder that is there, and a second folder beside it is never made. When
# several spellings are there, the exact "dat" wins, else the first in byte
# order, as the programs choose.
set(game_folder "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(library_folder "${game_folder}/dat")
if(NOT IS_DIRECTORY "${library_folder}")
  file(GLOB entries RELATIVE "${game_folder}" "${game_folder}/*")
  list(SORT entries)
  foreach(entry IN LISTS entries)
    string(TOLOWER "${entry}" folded)
    if(folded STREQUAL "dat" AND IS_DIRECTORY "${game_folder}/${entry}")
      set(library_folder "${game_folder}/${entry}")
      break()
    endif()
  endforeach()
endif()
file(INSTALL "${ORVDLL_FILE}" DESTINATION "${library_folder}")
