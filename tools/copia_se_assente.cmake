# Copies SOURCE to DESTINATION only when DESTINATION does not exist yet: the program folder's
# database and configuration belong to the user once they are there, and a rebuild must never
# replace them.
if(NOT EXISTS "${DESTINATION}")
  get_filename_component(folder "${DESTINATION}" DIRECTORY)
  file(MAKE_DIRECTORY "${folder}")
  file(COPY_FILE "${SOURCE}" "${DESTINATION}")
endif()
