// The README's examples as functions, so the tests can run them on surveys of their own.
// readme_example.cpp: the classes' interface; api_example.cpp: the svy3 interface.
#pragma once

#include <string>
#include <vector>

int ListLines(const std::string& path);
int ShowPositions(const std::string& path, const std::string& copy);
int CreateProject(const std::string& path, const std::vector<std::string>& files);

int PrintSurvey(const std::string& path);
int CreateSurvey(const std::string& path, const std::vector<std::string>& files);
int RenameAndMove(const std::string& path);
