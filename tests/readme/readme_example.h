// The README's code example, built into the tests.
#pragma once

#include <string>
#include <vector>

int ListLines(const std::string& path);
int ShowPositions(const std::string& path, const std::string& copy);
int CreateProject(const std::string& path, const std::vector<std::string>& files);
