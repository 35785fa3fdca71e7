// Standard input and output carry raw bytes: no line-end translation.
#ifndef KELVANE_TOOLS_REFORMAT_BINARYSTDIO_H
#define KELVANE_TOOLS_REFORMAT_BINARYSTDIO_H

void SetBinaryStdio();

#endif
