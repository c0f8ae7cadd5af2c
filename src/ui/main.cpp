#include "ui/Application.h"
#include "ui/Startup.h"

int main(int argc, char* argv[]) {
    bw::Application application(argc, argv);
    return bw::RunProgram(application);
}
