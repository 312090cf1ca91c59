#pragma once
// AppStore: the one in-memory model of the case archive, shared by every screen. Lives on the
// main thread. Every change of rootURL, cases or selection emits the matching signal. No operation
// reports an error: file errors are swallowed and the next reload shows what is on disk.
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "Model/Application.h"
#include "Model/CaseFile.h"
#include "Model/ClientProfile.h"
#include "Model/MemberRole.h"

class FolderWatcher;
class AppStore;

// One member as loaded; identified by its folder (absolute path).
struct MemberItem {
    QString folder;
    MemberRole role = MemberRole::principal;
    ClientProfile profile;
    Application application;
    bool operator==(const MemberItem &) const = default;
};

// One case as loaded; identified by its folder (absolute path).
struct CaseItem {
    QString folder;
    std::vector<MemberItem> members;
    bool operator==(const CaseItem &) const = default;
};

// One member of a case made by createCaseWithMembers.
struct NewMember {
    ClientProfile profile;
    Application application;
    MemberRole role = MemberRole::principal;
};

// Two-way access to one member's records, bound to its case folder and member folder. Reading goes
// through AppStore::memberProfile / memberApplication, every change through updateMemberProfile /
// updateMemberApplication (which writes the file at once). Does nothing once the store is gone.
class MemberBinding {
public:
    MemberBinding(AppStore *store, QString caseFolder, QString memberFolder);
    const QString &caseFolder() const { return caseFolder_; }
    const QString &memberFolder() const { return memberFolder_; }
    ClientProfile profile() const;
    Application application() const;
    void setProfile(const ClientProfile &profile) const;
    void setApplication(const Application &application) const;

private:
    QPointer<AppStore> store_;
    QString caseFolder_;
    QString memberFolder_;
};

class AppStore : public QObject {
    Q_OBJECT
public:
    // Fixed names.
    static constexpr const char *bookmarkKey = "rootBookmark";
    static constexpr const char *profileName = "profile.json";
    static constexpr const char *applicationName = "application.json";
    static constexpr const char *caseName = "case.json";

    enum class StartUp {
        restoreOrDefault, // remembered folder, else the default folder (sample cases when empty)
        none              // no archive until one is opened (tools and tests)
    };

    // Runs the start-up sequence: restoreBookmark, else useDefaultFolder.
    explicit AppStore(QObject *parent = nullptr);
    explicit AppStore(StartUp startUp, QObject *parent = nullptr);
    ~AppStore() override;

    // ---- state ----
    std::optional<QString> rootURL() const { return rootURL_; }
    const std::vector<CaseItem> &cases() const { return cases_; }
    std::optional<QString> selection() const { return selection_; }
    void setSelection(const std::optional<QString> &folder);
    // The folder currently watched (empty when there is no watcher).
    QString watchedFolder() const;

    // ---- archive folder ----
    // The default archive folder: <per-user generic data folder>/Bramwick/客户档案.
    static QString defaultFolderPath();
    // Reopens the folder remembered under "rootBookmark"; false when none or it is not a folder.
    bool restoreBookmark();
    // Opens (creating it) the default folder; seeds the sample cases when it holds no case.
    void useDefaultFolder();
    // The user picked `folder` (the picker itself is a screen's job): remembers it, makes it the
    // archive, clears the selection, reloads.
    void chooseFolder(const QString &folder);
    // Remembers `folder` for the next launch (stores its absolute path).
    void saveBookmark(const QString &folder);
    // Makes `folder` the archive without remembering it and reloads (the selection is kept).
    void openFolder(const QString &folder);

    // ---- loading ----
    // Re-reads every case of the archive; (re)starts the watcher.
    void reload();
    // Reads one case folder; none when it holds no readable case.json.
    static std::optional<CaseItem> loadCase(const QString &caseFolder);

    // ---- creating and deleting ----
    // New case with one principal member (the new-case sheet); the member is selected.
    void createCase(ApplicationKind kind, const QString &program, const QString &name);
    // General form: gives the member folder, or none without an archive.
    std::optional<QString> createCase(const ClientProfile &profile, const Application &application, bool select);
    // New case with several members; gives the case folder, or none without an archive.
    std::optional<QString> createCaseWithMembers(const QString &caseName, const std::vector<NewMember> &members,
                                                 bool select);
    // New member in an existing case; gives the member folder, or none without an archive.
    std::optional<QString> addMember(const QString &caseFolder, const QString &name, MemberRole role,
                                     const Application &application);
    // Moves the case folder to the trash; clears the selection when it was this case folder.
    void deleteCase(const QString &caseFolder);
    // Creates the sample cases "C11-张三家庭" and "TRV-<third person>"; clears the selection.
    void seedSampleCases();

    // ---- selection ----
    std::optional<CaseItem> selectedCase() const;
    std::optional<MemberItem> selectedMember() const;
    // The case folder of the selected member, when a member is selected.
    std::optional<QString> selectedMemberCaseFolder() const;
    // Two-way access to the selected member's records; none while no member is selected.
    std::optional<MemberBinding> selectedMemberBinding();

    // ---- member records ----
    // Current record of that member, or a default record when it is not found.
    ClientProfile memberProfile(const QString &caseFolder, const QString &memberFolder) const;
    Application memberApplication(const QString &caseFolder, const QString &memberFolder) const;
    // Replace the record in memory (casesChanged) and write its file at once; nothing when not found.
    void updateMemberProfile(const ClientProfile &profile, const QString &caseFolder, const QString &memberFolder);
    void updateMemberApplication(const Application &application, const QString &caseFolder,
                                 const QString &memberFolder);

    // ---- writing (atomic replacement; true when the file was written) ----
    static bool saveProfile(const ClientProfile &profile, const QString &memberFolder);
    static bool saveApplication(const Application &application, const QString &memberFolder);
    static bool saveCaseFile(const CaseFile &caseFile, const QString &caseFolder);

signals:
    void rootURLChanged();
    void casesChanged();
    void selectionChanged();

private:
    void setRootURL(const std::optional<QString> &root);
    void setCases(std::vector<CaseItem> cases);
    const MemberItem *findMember(const QString &caseFolder, const QString &memberFolder) const;
    MemberItem *findMember(const QString &caseFolder, const QString &memberFolder);

    std::optional<QString> rootURL_;
    std::vector<CaseItem> cases_;
    std::optional<QString> selection_;
    std::unique_ptr<FolderWatcher> folderWatcher_;
};
