# Read by cpack for each generator it runs.

# CPack of CMake 3.25 asks rpm whether it knows weak dependencies before it
# has looked rpm up, finds it does not, and drops the Suggests tag.
if(CPACK_GENERATOR STREQUAL "RPM" AND NOT RPM_EXECUTABLE)
  find_program(RPM_EXECUTABLE rpm)
endif()
