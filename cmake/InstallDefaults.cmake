# Lays out the program folder: copies each default data file only when it is missing, so a
# rebuild never touches a user's data, and refreshes the help page and Error.doc. SHARE_DIR, when
# given, receives the defaults as an installation holds them (share/orvane/defaults), so that the
# program in the build tree finds them for a data folder named with --data-dir.
file(GLOB defaults RELATIVE ${SOURCE_DIR}/csystem ${SOURCE_DIR}/csystem/*)
file(MAKE_DIRECTORY ${DEST_DIR}/csystem ${DEST_DIR}/Help)
foreach(name IN LISTS defaults)
  if(NOT EXISTS ${DEST_DIR}/csystem/${name})
    file(COPY ${SOURCE_DIR}/csystem/${name} DESTINATION ${DEST_DIR}/csystem)
  endif()
endforeach()
file(COPY ${SOURCE_DIR}/Help/Orvane.html DESTINATION ${DEST_DIR}/Help)
file(COPY ${SOURCE_DIR}/Error.doc DESTINATION ${DEST_DIR})
if(SHARE_DIR)
  file(REMOVE_RECURSE ${SHARE_DIR}/defaults)
  file(COPY ${SOURCE_DIR}/ DESTINATION ${SHARE_DIR}/defaults)
endif()
