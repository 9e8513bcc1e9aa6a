#pragma once
// Debugging hooks. They do nothing; callers may place them freely.

#include <string>

inline void debtest(int, const std::string& = std::string()) {}
inline void debtest(const void*, const std::string& = std::string()) {}
inline void debinfo(int, const std::string& = std::string(), int = 0) {}
