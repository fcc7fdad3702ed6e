# The sample track database, built from its readable source by korvale-cli itself.
# make_tracks.py generated tracks.json; the build needs only the committed tracks.json.
set(KORVALE_TRACKS_SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/tracks.json)
set(KORVALE_TRACKS_DAT ${KORVALE_DATA_DIR}/tracks.dat)
add_custom_command(
  OUTPUT ${KORVALE_TRACKS_DAT}
  COMMAND korvale-cli tracks build ${KORVALE_TRACKS_SOURCE} -o ${KORVALE_TRACKS_DAT}
  DEPENDS korvale-cli ${KORVALE_TRACKS_SOURCE}
  COMMENT "Building the sample track database tracks.dat"
  VERBATIM)
list(APPEND KORVALE_SAMPLE_OUTPUTS ${KORVALE_TRACKS_DAT})
