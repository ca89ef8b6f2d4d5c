#include "platform/core/Object.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "platform/core/Exceptions.h"

AnsiString TObject::ClassName() const
{
    const char* mangled = typeid(*this).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    AnsiString text = status == 0 && name ? AnsiString(name.get()) : AnsiString(mangled);
    // The framework's names have no namespaces: "(anonymous namespace)::TForm1" is "TForm1".
    if (text.find('<') == AnsiString::npos) {
        const size_t colons = text.rfind("::");
        if (colons != AnsiString::npos)
            text.erase(0, colons + 2);
    }
    return text;
}

void TPersistent::Assign(TPersistent* Source)
{
    if (Source) {
        Source->AssignTo(this);
        return;
    }
    throw EConvertError("Cannot assign a nil to a " + ClassName());
}

void TPersistent::AssignTo(TPersistent* Dest)
{
    throw EConvertError("Cannot assign a " + ClassName() + " to a " + Dest->ClassName());
}
