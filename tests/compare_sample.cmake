# Remakes the sample database with its recipe and compares it with the shipped file byte for byte.
execute_process(COMMAND ${MAKER} ${OUTPUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the sample recipe failed: ${result}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${SHIPPED} RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
  message(FATAL_ERROR "${SHIPPED} is not what its recipe makes")
endif()
