# Sample replays and the sample document, generated at build time by korvale-cli from the
# sample tracks (tracks.cmake builds tracks.dat first). The file names carry the tracks'
# path patterns, so the program recognises each replay's track without asking.
set(KORVALE_SAMPLE_TRACKS_DAT ${KORVALE_DATA_DIR}/tracks.dat)

# name of the output, track name, cars, laps, seed
set(KORVALE_SAMPLE_REPLAYS
  "sample-marlow.rpl|Marlow Flats Speedway|12|5|7"
  "sample-kestrel.rpl|Kestrel Ridge Circuit|10|4|11")

foreach(entry ${KORVALE_SAMPLE_REPLAYS})
  string(REPLACE "|" ";" fields "${entry}")
  list(GET fields 0 file)
  list(GET fields 1 track)
  list(GET fields 2 cars)
  list(GET fields 3 laps)
  list(GET fields 4 seed)
  add_custom_command(
    OUTPUT ${KORVALE_DATA_DIR}/${file}
    COMMAND korvale-cli simulate --track ${track} --tracks ${KORVALE_SAMPLE_TRACKS_DAT}
            --cars ${cars} --laps ${laps} --seed ${seed} -o ${KORVALE_DATA_DIR}/${file}
    DEPENDS korvale-cli ${KORVALE_SAMPLE_TRACKS_DAT}
    COMMENT "Simulating the sample replay ${file}"
    VERBATIM)
  list(APPEND KORVALE_SAMPLE_OUTPUTS ${KORVALE_DATA_DIR}/${file})
endforeach()

# The sample document: three laps of the road course by three drivers, imported as the
# program imports them (colours, serials, source replay).
if(EXISTS ${CMAKE_SOURCE_DIR}/src/cli/import_cmd.cpp)
  set(KORVALE_SAMPLE_REPLAY ${KORVALE_DATA_DIR}/sample-kestrel.rpl)
  set(KORVALE_SAMPLE_DOC ${KORVALE_DATA_DIR}/sample.kvl)
  set(KORVALE_SAMPLE_DOC_TMP ${CMAKE_CURRENT_BINARY_DIR}/sample.kvl)
  set(import korvale-cli import ${KORVALE_SAMPLE_REPLAY} --tracks ${KORVALE_SAMPLE_TRACKS_DAT}
      --track "Kestrel Ridge Circuit" -o ${KORVALE_SAMPLE_DOC_TMP})
  add_custom_command(
    OUTPUT ${KORVALE_SAMPLE_DOC}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${KORVALE_SAMPLE_DOC_TMP}
    COMMAND ${import} --driver 0 --lap 1
    COMMAND ${import} --driver 1 --lap 2 --append
    COMMAND ${import} --driver 4 --lap 3 --append
    COMMAND ${CMAKE_COMMAND} -E copy ${KORVALE_SAMPLE_DOC_TMP} ${KORVALE_SAMPLE_DOC}
    DEPENDS korvale-cli ${KORVALE_SAMPLE_REPLAY} ${KORVALE_SAMPLE_TRACKS_DAT}
    COMMENT "Importing three laps of the road course into the sample document sample.kvl"
    VERBATIM)
  list(APPEND KORVALE_SAMPLE_OUTPUTS ${KORVALE_SAMPLE_DOC})
endif()

# A replay archive of the sample replays, as the simulation packs them: a ZIP file of bare
# replay names, for importing a lap straight out of an archive.
set(KORVALE_SAMPLE_ARCHIVE ${KORVALE_DATA_DIR}/samples.rpz)
set(KORVALE_SAMPLE_ARCHIVE_MEMBERS "")
foreach(entry ${KORVALE_SAMPLE_REPLAYS})
  string(REPLACE "|" ";" fields "${entry}")
  list(GET fields 0 file)
  list(APPEND KORVALE_SAMPLE_ARCHIVE_MEMBERS ${file})
endforeach()
list(TRANSFORM KORVALE_SAMPLE_ARCHIVE_MEMBERS PREPEND ${KORVALE_DATA_DIR}/ OUTPUT_VARIABLE
     KORVALE_SAMPLE_ARCHIVE_INPUTS)
add_custom_command(
  OUTPUT ${KORVALE_SAMPLE_ARCHIVE}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${KORVALE_SAMPLE_ARCHIVE}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${KORVALE_SAMPLE_ARCHIVE} --format=zip
          ${KORVALE_SAMPLE_ARCHIVE_MEMBERS}
  WORKING_DIRECTORY ${KORVALE_DATA_DIR}
  DEPENDS ${KORVALE_SAMPLE_ARCHIVE_INPUTS}
  COMMENT "Packing the sample replays into the replay archive samples.rpz"
  VERBATIM)
list(APPEND KORVALE_SAMPLE_OUTPUTS ${KORVALE_SAMPLE_ARCHIVE})
