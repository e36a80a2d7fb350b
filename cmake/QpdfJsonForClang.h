// Forced into every translation unit of our targets when the compiler is Clang (see
// CMakeLists.txt). Clang 14 with libstdc++ 12 in C++20 mode rejects qpdf 11's <qpdf/JSON.hh>: it
// defines the constexpr destructor of a std::vector<JSON> member while JSON is still incomplete.
// The program never uses qpdf's JSON class, only headers that name it as a return type, so a
// declaration takes the header's place.
#pragma once
#define JSON_HH
class JSON;
