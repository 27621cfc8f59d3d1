// single_instance_probe SOCKET RAISES [GO]: one copy of a program guarded by
// SingleInstance, for the tests. With GO, a FIFO, it first waits until the FIFO is opened
// for writing, which wakes every copy waiting on it at once, so they claim together. Prints "first" or
// "another" once it has claimed SOCKET. The first copy then waits (at most 30 seconds)
// for RAISES raise requests, prints "raised <count>" and exits with 0.
#include "app/single_instance.h"

#include <QCoreApplication>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3 && argc != 4) return 2;
    const int expected = std::atoi(argv[2]);
    if (argc == 4) {
        const int go = ::open(argv[3], O_RDONLY | O_CLOEXEC);
        if (go < 0) return 3;
        ::close(go);
    }
    lumora::SingleInstance instance(argv[1]);
    if (instance.ClaimOrNotify() == lumora::SingleInstance::Claim::kAnotherRuns) {
        std::printf("another\n");
        return 0;
    }
    std::printf("first\n");
    std::fflush(stdout);
    int raised = 0;
    QObject::connect(&instance, &lumora::SingleInstance::raiseRequested, [&] {
        if (++raised >= expected) app.quit();
    });
    QTimer::singleShot(30000, &app, &QCoreApplication::quit);
    if (expected > 0) app.exec();
    std::printf("raised %d\n", raised);
    return 0;
}
