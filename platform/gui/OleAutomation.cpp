#include "platform/gui/OleAutomation.h"

#include <map>
#include <string>
#include <utility>

#include "platform/core/AnsiString.h"

TOleArray::TOleArray(int RowLow, int RowHigh, int ColLow, int ColHigh)
    : FRowLow(RowLow), FRows(std::max(RowHigh - RowLow + 1, 0)), FColLow(ColLow),
      FCols(std::max(ColHigh - ColLow + 1, 0))
{}

void TOleArray::Check(int Row, int Col) const
{
    if (Row < FRowLow || int64_t{Row} - FRowLow >= FRows || Col < FColLow || int64_t{Col} - FColLow >= FCols)
        throw EVariantError("Variant array index out of bounds");
}

TOleVariant& TOleArray::At(int Row, int Col)
{
    Check(Row, Col);
    // Arrays are mostly filled in order: the end is the place to look first.
    return FItems.try_emplace(FItems.end(), std::pair{Row, Col})->second;
}

const TOleVariant& TOleArray::At(int Row, int Col) const
{
    static const TOleVariant empty;
    Check(Row, Col);
    const auto item = FItems.find({Row, Col});
    return item == FItems.end() ? empty : item->second;
}

namespace {

TOleFactory& Factory()
{
    static TOleFactory factory;
    return factory;
}

const TDispatch& ObjectOf(const TOleVariant& Value)
{
    if (!Value.Object())
        throw EOleException("Variant does not reference an automation object");
    return Value.Object();
}

// A value as the recording server writes it.
std::string Shown(const TOleVariant& Value, const std::map<const IDispatchObject*, std::string>& Names)
{
    if (Value.Object()) {
        const auto name = Names.find(Value.Object().get());
        return name == Names.end() ? "object" : name->second;
    }
    if (const auto& array = Value.Array())
        return "array[" + std::to_string(array->RowLow()) + ".." + std::to_string(array->RowHigh()) + "," +
            std::to_string(array->ColLow()) + ".." + std::to_string(array->ColHigh()) + "]";
    switch (Value.Value().VarType()) {
    case varEmpty: return "empty";
    case varString: return "\"" + Value.AsString() + "\"";
    case varBoolean: return Value.Value().AsBoolean() ? "true" : "false";
    default: return Value.AsString();
    }
}

// Every object the recording server hands out, named in the order they appear.
struct TRecording {
    std::shared_ptr<std::vector<std::string>> Log;
    std::map<const IDispatchObject*, std::string> Names;
    int Next = 1;
};

class TRecordingObject : public IDispatchObject, public std::enable_shared_from_this<TRecordingObject> {
public:
    TRecordingObject(TDispatch Real, std::shared_ptr<TRecording> Recording, std::string Name)
        : FReal(std::move(Real)), FRecording(std::move(Recording)), FName(std::move(Name))
    {}
    TOleVariant Invoke(const AnsiString& Member, TInvokeKind Kind, const std::vector<TOleVariant>& Args,
                       const std::vector<TNamedArg>& Named) override
    {
        std::string line = FName + "." + Member;
        if (Kind == ikPropertyPut) {
            line += " := " + Shown(Args.empty() ? TOleVariant() : Args.back(), FRecording->Names);
        } else {
            std::string list;
            for (const TOleVariant& a : Args)
                list += (list.empty() ? "" : ", ") + Shown(a, FRecording->Names);
            for (const TNamedArg& a : Named)
                list += (list.empty() ? "" : ", ") + a.Name + "=" + Shown(a.Value, FRecording->Names);
            line += Kind == ikMethod ? "(" + list + ")" : "[" + list + "]";
        }
        TOleVariant result;
        try {
            result = FReal->Invoke(Member, Kind, Args, Named);
        } catch (const Exception& e) {
            FRecording->Log->push_back(line + " raises " + e.Message);
            throw;
        }
        if (result.Object()) {
            auto wrapped = std::make_shared<TRecordingObject>(result.Object(), FRecording,
                                                              "obj" + std::to_string(FRecording->Next++));
            FRecording->Names[wrapped.get()] = wrapped->FName;
            result = TOleVariant(TDispatch(wrapped));
        }
        if (Kind != ikPropertyPut)
            line += " = " + Shown(result, FRecording->Names);
        FRecording->Log->push_back(line);
        return result;
    }

private:
    TDispatch FReal;
    std::shared_ptr<TRecording> FRecording;
    std::string FName;
};

}  // namespace

TDispatch CreateOleObject(const AnsiString& ProgId)
{
    TDispatch object = Factory() ? Factory()(ProgId) : CreateOfficeServer(ProgId);
    if (!object)
        throw EOleSysError("Invalid class string");
    return object;
}

TOleFactory SetOleObjectFactory(TOleFactory NewFactory) { return std::exchange(Factory(), std::move(NewFactory)); }

TOleVariant OleCall(const TOleVariant& Object, const AnsiString& Member, std::vector<TOleVariant> Args,
                    std::vector<TNamedArg> Named)
{
    return ObjectOf(Object)->Invoke(Member, ikMethod, Args, Named);
}

TOleVariant OleGet(const TOleVariant& Object, const AnsiString& Member, std::vector<TOleVariant> Args)
{
    return ObjectOf(Object)->Invoke(Member, ikPropertyGet, Args, {});
}

void OlePut(const TOleVariant& Object, const AnsiString& Member, TOleVariant Value)
{
    ObjectOf(Object)->Invoke(Member, ikPropertyPut, {std::move(Value)}, {});
}

TDispatch RecordingServer(TDispatch Real, std::shared_ptr<std::vector<std::string>> Log, const std::string& Name)
{
    if (!Real)
        return nullptr;
    auto recording = std::make_shared<TRecording>();
    recording->Log = std::move(Log);
    auto object = std::make_shared<TRecordingObject>(std::move(Real), recording, Name);
    recording->Names[object.get()] = Name;
    return object;
}
