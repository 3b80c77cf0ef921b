# Lays out the program folder the user runs: `cmake -P <build>/disponi_programma.cmake`
# (scripts/run.sh does), which sets the build's own files below and includes this script.
#   ESEGUIBILE      the program the build made
#   AIUTI           the files the project writes for Help/ (the manual and the samples)
#   SEME            the seeded database
#   CONFIGURAZIONE  the configuration a new folder starts with
#   VECCHIA         a folder that may still hold a registry from before (may be empty)
#   DESTINAZIONE    the program folder; by default $XDG_DATA_HOME/quercino, that is
#                   ~/.local/share/quercino when XDG_DATA_HOME is unset
# The program and the project's Help files are replaced at every run. The database, the
# configuration and whatever else the folder holds belong to the user: they are written only
# when missing, and nothing is ever deleted. Each file is written beside its place and then
# renamed into it, so an interrupted run leaves either the earlier file or none, never half
# of one (a half database would be taken as the user's and kept).

cmake_minimum_required(VERSION 3.25)

foreach(richiesto "${ESEGUIBILE}" ${AIUTI} "${SEME}" "${CONFIGURAZIONE}")
  if(NOT EXISTS "${richiesto}")
    message(FATAL_ERROR "${richiesto} is missing: build the program first")
  endif()
endforeach()

if(NOT DESTINAZIONE)
  # A relative XDG_DATA_HOME is to be ignored, as the XDG base directory rules say.
  if(IS_ABSOLUTE "$ENV{XDG_DATA_HOME}")
    set(DESTINAZIONE "$ENV{XDG_DATA_HOME}/quercino")
  elseif(IS_ABSOLUTE "$ENV{HOME}")
    set(DESTINAZIONE "$ENV{HOME}/.local/share/quercino")
  else()
    message(FATAL_ERROR "Neither XDG_DATA_HOME nor HOME names a folder: set one of them, or "
                        "give the program folder with -DDESTINAZIONE=<folder>")
  endif()
endif()
get_filename_component(DESTINAZIONE "${DESTINAZIONE}" ABSOLUTE)

# Writes ORIGINE to DESTINO through a file beside it.
function(scrivi_al_posto origine destino)
  get_filename_component(cartella "${destino}" DIRECTORY)
  file(MAKE_DIRECTORY "${cartella}")
  file(COPY_FILE "${origine}" "${destino}.nuovo")
  file(RENAME "${destino}.nuovo" "${destino}")
endfunction()

function(scrivi_se_diverso origine destino)
  if(EXISTS "${destino}")
    file(SHA256 "${origine}" prima)
    file(SHA256 "${destino}" dopo)
    if(prima STREQUAL dopo)
      return()
    endif()
  endif()
  scrivi_al_posto("${origine}" "${destino}")
endfunction()

function(scrivi_se_assente origine destino)
  if(NOT EXISTS "${destino}")
    scrivi_al_posto("${origine}" "${destino}")
  endif()
endfunction()

set(database "${DESTINAZIONE}/DataBase/VEKO.sqlite")
set(nuova FALSE)
set(ripresa FALSE)
if(NOT EXISTS "${database}")
  set(nuova TRUE)
  # A registry kept beside the program in the build folder (as builds once laid it out) is
  # carried over whole, its database last, instead of starting an empty one beside it.
  if(VECCHIA AND EXISTS "${VECCHIA}/DataBase/VEKO.sqlite")
    set(ripresa TRUE)
    file(GLOB_RECURSE vecchi RELATIVE "${VECCHIA}" "${VECCHIA}/*")
    list(REMOVE_ITEM vecchi "quercino" "DataBase/VEKO.sqlite")
    foreach(relativo ${vecchi})
      scrivi_se_assente("${VECCHIA}/${relativo}" "${DESTINAZIONE}/${relativo}")
    endforeach()
    scrivi_al_posto("${VECCHIA}/DataBase/VEKO.sqlite" "${database}")
  endif()
endif()

file(MAKE_DIRECTORY "${DESTINAZIONE}/Help/documentazione")
scrivi_se_assente("${CONFIGURAZIONE}" "${DESTINAZIONE}/configurazione.ini")
scrivi_se_assente("${SEME}" "${database}")

foreach(aiuto ${AIUTI})
  get_filename_component(nome "${aiuto}" NAME)
  scrivi_se_diverso("${aiuto}" "${DESTINAZIONE}/Help/${nome}")
endforeach()
scrivi_se_diverso("${ESEGUIBILE}" "${DESTINAZIONE}/quercino")

if(ripresa)
  message(NOTICE "Quercino's program folder is now ${DESTINAZIONE}: the registry, the "
                 "configuration and the documents of ${VECCHIA} were copied there (that folder "
                 "is left as it was). Rebuilding or removing build/ no longer touches them.")
elseif(nuova)
  message(NOTICE "Quercino's program folder is ${DESTINAZIONE}: the declarants' database "
                 "(DataBase/VEKO.sqlite), configurazione.ini and your documents in Help/ live "
                 "there. Rebuilding or removing build/ never touches them.")
endif()
