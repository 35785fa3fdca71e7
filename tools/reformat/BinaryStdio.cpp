#include "BinaryStdio.h"

// POSIX streams never translate line ends.
void SetBinaryStdio() {}
