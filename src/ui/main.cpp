#include <iostream>

#include "core/CommandLine.h"
#include "ui/Application.h"
#include "ui/Startup.h"

int main(int argc, char* argv[]) {
    if (auto code = bw::AnswerInfoOptions(argc, argv, std::cout)) return *code;
    bw::Application application(argc, argv);
    return bw::RunProgram(application);
}
