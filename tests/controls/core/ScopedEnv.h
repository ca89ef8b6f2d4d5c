#pragma once
// An environment variable set for one test and restored after it.

#include <cstdlib>
#include <string>

class TEnv {
public:
    TEnv(const char* name, const std::string& value) : name_(name)
    {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        old_ = old ? old : "";
        setenv(name, value.c_str(), 1);
    }
    ~TEnv()
    {
        if (had_)
            setenv(name_, old_.c_str(), 1);
        else
            unsetenv(name_);
    }
    TEnv(const TEnv&) = delete;
    TEnv& operator=(const TEnv&) = delete;

private:
    const char* name_;
    bool had_;
    std::string old_;
};
