// The README's example of the svy3 interface, built into the tests.
#pragma once

#include <string>
#include <vector>

int PrintSurvey(const std::string& path);
int CreateSurvey(const std::string& path, const std::vector<std::string>& files);
int RenameAndMove(const std::string& path);
