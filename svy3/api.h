// svy3: the library's C++17 interface. Open a project and walk its lines and files, create one
// from radar files on disk, edit one in place.
//
//   svy3::Project project = svy3::open("survey/demo.svy");
//   for (const svy3::Line& line : project.lines())
//       std::cout << line.name() << ": " << line.files().size() << " files\n";
//
// Every call that cannot do what it was asked throws svy3::Error. The classes of the namespace
// ZAR below it (svy3/svy3.h) stay available for programs written against them.
#pragma once

#include "svy3/version.h"

#include "svy3/api/create.h"
#include "svy3/api/distance_converter.h"
#include "svy3/api/editor.h"
#include "svy3/api/error.h"
#include "svy3/api/line.h"
#include "svy3/api/project.h"
