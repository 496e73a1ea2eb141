#pragma once
// The one base of every failure the library layers raise. Each failure class carries a fixed message, which
// is what the program shows; callers catch the classes they expect and let the rest reach the top.
#include <stdexcept>
#include <string>

namespace dorvanel {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace dorvanel
