# Remakes the sample database with its recipe and compares it with the shipped file byte for byte.
# A cross-built recipe runs under EMULATOR. It writes in OUTPUT's folder under a bare file name,
# which a Windows program under Wine can use as well as any other.
cmake_path(GET OUTPUT PARENT_PATH output_dir)
cmake_path(GET OUTPUT FILENAME output_name)
file(REMOVE ${OUTPUT})  # so that a file left by an earlier run cannot stand in for this one's
execute_process(COMMAND ${EMULATOR} ${MAKER} ${output_name}
                WORKING_DIRECTORY ${output_dir} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the sample recipe failed: ${result}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${SHIPPED} RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
  message(FATAL_ERROR "${SHIPPED} is not what its recipe makes")
endif()
