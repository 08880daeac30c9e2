# Fails when a Wine test called `wine`, `wineserver` or `wineboot` by its bare
# name; the stand-ins log every such call to LOG.
if(EXISTS ${LOG})
  file(READ ${LOG} calls)
  if(NOT calls STREQUAL "")
    message(FATAL_ERROR "Wine programs called by bare name (call them through tools/wine.sh):\n${calls}")
  endif()
endif()
