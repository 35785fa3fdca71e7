// The control channel between the stand-in client and standin-ctl: one named
// pipe, one request per connection.  A request is a list of byte strings (the
// command and its arguments, bodies included, so any byte can travel); the
// answer is a status and one byte string.
//   request:  u32 count, then count times (u32 length, bytes)
//   answer:   u32 status (0 ok), u32 length, bytes
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace standin {

extern const char kPipeName[];

bool WriteAll(HANDLE pipe, const std::string& bytes);
bool ReadExactly(HANDLE pipe, std::string& bytes, size_t length);

std::string EncodeRequest(const std::vector<std::string>& args);
bool ReadRequest(HANDLE pipe, std::vector<std::string>& args);
std::string EncodeAnswer(unsigned status, const std::string& payload);
bool ReadAnswer(HANDLE pipe, unsigned& status, std::string& payload);

}  // namespace standin
