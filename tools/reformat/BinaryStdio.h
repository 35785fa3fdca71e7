// Standard input and output carry raw bytes: no line-end translation.
#pragma once

void SetBinaryStdio();
