// ctlrun's "util": the path and file routines.
#include "controls/core/FileUtil.h"
#include "tools/ctlutil/CtlUtilArgs.h"

namespace {

TUtilFields Text(AnsiString value) { return {std::move(value)}; }
TUtilFields Flag(bool value) { return {ShowBool(value)}; }

}  // namespace

void AddFileRoutines(TUtilTable& t)
{
    using A = const TUtilArgs&;
    t["NormalDir"] = {1, [](A a) { return Text(NormalDir(a.Text(0))); }};
    t["RemoveBackSlash"] = {1, [](A a) { return Text(RemoveBackSlash(a.Text(0))); }};
    t["DirExists"] = {1, [](A a) { return Flag(DirExists(a.Text(0))); }};
    t["ForceDirectories"] = {1, [](A a) { return Flag(ForceDirectories(a.Text(0))); }};
    t["ValidFileName"] = {1, [](A a) { return Flag(ValidFileName(a.Text(0))); }};
    t["GetTempDir"] = {0, [](A) { return Text(GetTempDir()); }};
    t["GetWindowsDir"] = {0, [](A) { return Text(GetWindowsDir()); }};
    t["GetSystemDir"] = {0, [](A) { return Text(GetSystemDir()); }};
    t["ShortToLongFileName"] = {1, [](A a) { return Text(ShortToLongFileName(a.Text(0))); }};
    t["LongToShortFileName"] = {1, [](A a) { return Text(LongToShortFileName(a.Text(0))); }};
    t["ShortToLongPath"] = {1, [](A a) { return Text(ShortToLongPath(a.Text(0))); }};
    t["LongToShortPath"] = {1, [](A a) { return Text(LongToShortPath(a.Text(0))); }};
    t["GetFileSize"] = {1, [](A a) { return Text(ShowNumber(static_cast<double>(GetFileSize(a.Text(0))))); }};
    t["FileDateTime"] = {1, [](A a) { return Text(ShowDate(FileDateTime(a.Text(0)))); }};
    t["HasAttr"] = {2, [](A a) { return Flag(HasAttr(a.Text(0), a.Int(1))); }};
    t["CopyFile"] = {3, [](A a) {
                         CopyFile(a.Text(0), a.Text(1), a.Control(2));
                         return TUtilFields();
                     }};
    t["CopyFileEx"] = {5, [](A a) {
                           CopyFileEx(a.Text(0), a.Text(1), a.Bool(2), a.Bool(3), a.Control(4));
                           return TUtilFields();
                       }};
    t["MoveFile"] = {2, [](A a) {
                         MoveFile(a.Text(0), a.Text(1));
                         return TUtilFields();
                     }};
    t["MoveFileEx"] = {3, [](A a) {
                           MoveFileEx(a.Text(0), a.Text(1), a.Bool(2));
                           return TUtilFields();
                       }};
    t["DeleteFiles"] = {1, [](A a) { return Flag(DeleteFiles(a.Text(0))); }};
    t["DeleteFilesEx"] = {-1, [](A a) {
                              std::vector<AnsiString> masks;
                              for (size_t i = 0; i < a.Count(); ++i)
                                  masks.push_back(a.Text(i));
                              return Flag(DeleteFilesEx(masks));
                          }};
    t["ClearDir"] = {2, [](A a) { return Flag(ClearDir(a.Text(0), a.Bool(1))); }};
    t["CreateFileLink"] = {3, [](A a) {
                               CreateFileLink(a.Text(0), a.Text(1), a.Int(2));
                               return TUtilFields();
                           }};
    t["DeleteFileLink"] = {2, [](A a) {
                               DeleteFileLink(a.Text(0), a.Int(1));
                               return TUtilFields();
                           }};
}
