// Linked into every program of the setup package (see cmake/KelvaneShipping.cmake).
//
// The programs catch no exception of the standard library: the only one the
// project throws is CZipException, and it is caught where the archive is
// read.  A std::length_error or std::bad_alloc would therefore always end in
// std::terminate.  The library's own way there costs most of the programs'
// size, though: its throw helpers bring in every standard exception class with
// a second, copy-on-write string implementation, and the default terminate
// handler brings in the symbol demangler to name the exception on a console
// these windowed programs do not have.  The definitions below end the process
// at the same point, directly; the linker then leaves the library's versions
// out (a program that needs one not defined here fails to link, loudly, with a
// duplicate definition).
#include <cstdlib>
#include <new>
#include <functional>
#include <string>  // declares the std::__throw_* helpers

namespace {

[[noreturn]] void Fail() {
  std::abort();
}

}  // namespace

// Everything that libstdc++'s functexcept.o defines, so that it is never
// needed, and the one throw helper of std::function.  Their declarations are the library's own (bits/functexcept.h).
namespace std {
void __throw_bad_exception() {
  Fail();
}
void __throw_bad_alloc() {
  Fail();
}
void __throw_bad_array_new_length() {
  Fail();
}
void __throw_bad_cast() {
  Fail();
}
void __throw_bad_typeid() {
  Fail();
}
void __throw_logic_error(const char*) {
  Fail();
}
void __throw_domain_error(const char*) {
  Fail();
}
void __throw_invalid_argument(const char*) {
  Fail();
}
void __throw_length_error(const char*) {
  Fail();
}
void __throw_out_of_range(const char*) {
  Fail();
}
void __throw_out_of_range_fmt(const char*, ...) {
  Fail();
}
void __throw_runtime_error(const char*) {
  Fail();
}
void __throw_range_error(const char*) {
  Fail();
}
void __throw_overflow_error(const char*) {
  Fail();
}
void __throw_underflow_error(const char*) {
  Fail();
}
// An empty std::function called; functional.o's only other content is the
// exception class.
void __throw_bad_function_call() {
  Fail();
}
}  // namespace std

// The handler std::terminate calls unless a program installs its own.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
  Fail();
}
}  // namespace __gnu_cxx

// Replacement allocation functions (the standard allows a program to define
// them): out of memory ends the process instead of throwing std::bad_alloc,
// which nothing would catch.  The nothrow forms keep their null result.
void* operator new(std::size_t size) {
  void* p = std::malloc(size != 0 ? size : 1);
  if (p == nullptr) Fail();
  return p;
}
void* operator new[](std::size_t size) {
  return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size != 0 ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size != 0 ? size : 1);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}

// The library's own std::string and std::wstring members are compiled with exceptions, and
// linking them brings in the whole exception runtime (and with it the POSIX
// threads layer it locks with), even in programs that never throw.  Compiled
// here, without exceptions, they take the place of the library's copies; the
// linker keeps only the members a program uses.
template class std::basic_string<char>;
template class std::basic_string<wchar_t>;
