#pragma once

#include <functional>

namespace app {

class FormLog;

// The whole desktop program: settles the data folder, takes the folder lock, starts the window
// and runs the event loop; returns the exit code. `whenUp`, when given, runs once the window is
// up and the event loop is running; the shipped program passes none, a test program drives the
// window through it.
int runDesktop(int& argc, char** argv, const std::function<void(FormLog&)>& whenUp = {});

} // namespace app
