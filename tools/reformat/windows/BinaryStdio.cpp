#include "../BinaryStdio.h"

#include <fcntl.h>
#include <io.h>
#include <stdio.h>

// The C runtime would turn LF into CR LF on output and drop CR on input.
void SetBinaryStdio() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
}
