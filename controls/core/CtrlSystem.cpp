#include "controls/core/CtrlSystem.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <sys/utsname.h>

#include "platform/core/Cp949.h"

void ResourceNotFound(const TResID& ResID)
{
    const AnsiString name = ResID.ByNumber ? IntToStr(ResID.Number) : ResID.Name;
    throw EResNotFound(Format("Resource %s not found", name.c_str()));
}

void RaiseWin32Error(int Code)
{
    if (Code == 0)
        return;
    const AnsiString text = Utf8ToCp949(std::strerror(Code));
    throw EWin32Error(Format("Win32 Error.  Code: %d.\n%s", Code, text.c_str()), Code);
}

bool CheckWin32(bool OK)
{
    if (!OK)
        RaiseWin32Error(errno != 0 ? errno : EINVAL);
    return OK;
}

AnsiString GetWindowsVersion()
{
    utsname info{};
    int major = 0, minor = 0, build = 0;
    if (uname(&info) == 0)
        std::sscanf(info.release, "%d.%d.%d", &major, &minor, &build);
    return Trim(Format("Linux %d.%.2d.%.3d", major, minor, build));
}

void* LoadDLL(const AnsiString& Name)
{
    const std::string path = Cp949ToUtf8(Name);
    void* handle = dlopen(path.c_str(), RTLD_NOW);
    if (!handle) {
        const char* why = dlerror();
        const AnsiString text = Utf8ToCp949(why ? why : "cannot load library");
        throw EWin32Error(Format("Win32 Error.  Code: %d.\n%s", ENOENT, text.c_str()), ENOENT);
    }
    return handle;
}

bool RegisterServer(const AnsiString&) { return false; }

void FreeUnusedOle() {}

AnsiString GetEnvVar(const AnsiString& Name)
{
    const char* value = std::getenv(Name.c_str());
    return value ? AnsiString(value) : AnsiString();
}
