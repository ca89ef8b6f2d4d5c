#include "platform/core/ThreadPriority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

void SetCurrentThreadPriority(TThreadPriority priority)
{
    static const int kNice[] = {19, 10, 5, 0, -5, -10, -15};
    const pid_t tid = static_cast<pid_t>(syscall(SYS_gettid));
    (void)setpriority(PRIO_PROCESS, static_cast<id_t>(tid), kNice[priority]);
}
