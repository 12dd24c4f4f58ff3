#include "MapSymbolLibrary.h"

#include "AppState.h"
#include "ErrorMng.h"
#include "FormErrors.h"
#include "MapSymbolModel.h"
#include "MessageBox.h"
#include "basLibrary.h"
#include "clsThings.h"

namespace {

const QString kForm = QStringLiteral("frmMapSymbol");
const QString kPrefix = QStringLiteral("__");
const QString kExt = QStringLiteral(".THG");
constexpr int32_t kPages = 8;



// The load tells the user itself why a library does not read; that ends
// the command and leaves the working copy as it was.
std::shared_ptr<clsThings> LoadLibrary(const QString& path) {
    auto lib = std::make_shared<clsThings>();
    lib->setFileName(path);
    try {
        if (lib->Load() != 0) return nullptr;
    } catch (const AppError&) {
        return nullptr;
    }
    return lib;
}

} // namespace

QStringList MapSymbolLibrary::Names() const {
    QStringList out;
    for (const Entry& e : Entries) out << e.Name;
    return out;
}

void MapSymbolLibrary::Choose(int32_t index) {
    if (index < 0 || index >= int32_t(Entries.size())) return;
    Current = index;
    Text = Entries[size_t(index)].Name;
}

void MapSymbolLibrary::MakeLibraryList() {
    ReportingErrors(kForm, "MakeLibraryList", [this] {
        Entries.clear();
        Current = -1;
        // Without a map folder the search would walk the whole file system.
        if (gvMapFolder.isEmpty()) return;
        for (const QString& path : FindFiles(JoinPath(gvMapFolder, kPrefix + QStringLiteral("*") + kExt))) {
            const QString file = FileNameOf(path);
            Entries.push_back({file.mid(2, file.size() - 6), path});
        }
        if (!Entries.empty()) Choose(0);
    });
}

QString MapSymbolLibrary::LibraryFilePath(const QString& mapFolder, const QString& text) {
    QString name = FileNameOf(text);
    if (name.size() > 2 && name.startsWith(kPrefix)) name = name.mid(2);
    if (name.isEmpty()) return QString();
    return JoinPath(mapFolder, kPrefix + ChangeExt(name, kExt));
}

QString MapSymbolLibrary::LibraryFilePath() const {
    if (Current >= 0 && Current < int32_t(Entries.size()) && Text == Entries[size_t(Current)].Name)
        return Entries[size_t(Current)].Path;
    return LibraryFilePath(gvMapFolder, Text);
}

bool MapSymbolLibrary::Open() {
    clsThings* work = model_.CurThings;
    const QString path = LibraryFilePath();
    if (path.isEmpty() || !work) return false;
    return ReportingErrors(kForm, "cmdLibOpen_Click", [&] {
        const std::shared_ptr<clsThings> lib = LoadLibrary(path);
        if (!lib) return false;
        {
            WaitPointer wait;
            for (const ThingPtr& l : *lib) {
                if (l->Figure() == 1) continue;
                const ThingPtr& t = work->Item(work->Search(l->Name()));
                if (!t || t->Figure() != l->Figure()) continue;
                l->setPage(1);
                for (int32_t p = 1; p <= kPages; ++p) {
                    // Under all-page sync the library's first page goes onto all eight.
                    if (!model_.EiPageSync) l->setPage(p);
                    t->setPage(p);
                    if (model_.EiLibShow) {
                        t->setShowMode(l->ShowMode());
                        t->setScaleS(l->ScaleS());
                        t->setScaleL(l->ScaleL());
                    }
                    t->setFore(l->Fore());
                    t->setBack(l->Back());
                    t->setStyle(l->Style());
                    t->setSize(l->Size());
                    t->setEuropian(l->Europian());
                    t->setJapanese(l->Japanese());
                }
                t->setPage(model_.CurPage);
                model_.SyncMapThing(*t);
            }
        }
        model_.SetGridData();
        model_.ExePreview();
        plat::MsgBox(QStringLiteral("事象リストを更新しました."), plat::MbInformation);
        return true;
    });
}

bool MapSymbolLibrary::Save() {
    clsThings* work = model_.CurThings;
    const QString path = LibraryFilePath();
    if (path.isEmpty() || !work) return false;
    const bool saved = ReportingErrors(kForm, "cmdLibSave_Click", [&] {
        QString keptComment;
        if (FileExists(path)) {
            if (!AskYesNo(QStringLiteral("上書きしてもよいですか？"))) return false;
            const std::shared_ptr<clsThings> old = LoadLibrary(path);
            if (!old) return false;
            keptComment = old->Comment();
        }
        const QString fileName = work->FileName(), comment = work->Comment();
        const bool modify = work->Modify(), lock = work->LockMode();
        // The new name lifts the lock of a read-only catalogue; all of it is
        // put back however the save ends.
        struct Restore {
            clsThings& t;
            const QString& fileName;
            const QString& comment;
            bool modify, lock;
            ~Restore() {
                t.setFileName(fileName);
                if (t.Comment() != comment) t.setComment(comment);
                t.setLockMode(lock);
                t.setModify(modify);
            }
        } restore{*work, fileName, comment, modify, lock};
        work->setFileName(path);
        if (!keptComment.isEmpty()) work->setComment(keptComment);
        if (work->Save() != 0) return false;
        plat::MsgBox(QStringLiteral("保存に成功しました."), plat::MbInformation);
        return true;
    });
    MakeLibraryList();
    return saved;
}
