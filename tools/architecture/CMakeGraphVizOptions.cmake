# What docs/architecture.png shows: the project's own libraries and programs,
# not zlib or the Windows import libraries.
set(GRAPHVIZ_GRAPH_NAME "Kelvane")
set(GRAPHVIZ_EXTERNAL_LIBS FALSE)
set(GRAPHVIZ_GENERATE_PER_TARGET FALSE)
set(GRAPHVIZ_GENERATE_DEPENDERS FALSE)
