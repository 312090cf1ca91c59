#include "Model/AppStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>

#include "Model/AtomicWrite.h"
#include "Model/FolderNames.h"
#include "Model/FolderWatcher.h"
#include "Model/NaturalOrder.h"
#include "Model/RecordJSON.h"
#include "Model/SampleData.h"

namespace {

QSettings archiveSettings() { return QSettings(QStringLiteral("Bramwick"), QStringLiteral("Bramwick")); }

QString absoluteFolder(const QString &folder) { return QDir::cleanPath(QFileInfo(folder).absoluteFilePath()); }

QString childPath(const QString &folder, const QString &name) { return folder + u'/' + name; }

std::optional<std::string> readWholeFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes = file.readAll();
    return bytes.toStdString();
}

std::optional<CaseFile> readCaseFile(const QString &caseFolder) {
    auto text = readWholeFile(childPath(caseFolder, QString::fromLatin1(AppStore::caseName)));
    if (!text) return std::nullopt;
    return decodeCaseFile(*text);
}

QString folderName(const QString &path) { return QFileInfo(path).fileName(); }

} // namespace

// ---------------------------------------------------------------- MemberBinding

MemberBinding::MemberBinding(AppStore *store, QString caseFolder, QString memberFolder)
    : store_(store), caseFolder_(std::move(caseFolder)), memberFolder_(std::move(memberFolder)) {}

ClientProfile MemberBinding::profile() const {
    return store_ ? store_->memberProfile(caseFolder_, memberFolder_) : ClientProfile{};
}

Application MemberBinding::application() const {
    return store_ ? store_->memberApplication(caseFolder_, memberFolder_) : Application{};
}

void MemberBinding::setProfile(const ClientProfile &profile) const {
    if (store_) store_->updateMemberProfile(profile, caseFolder_, memberFolder_);
}

void MemberBinding::setApplication(const Application &application) const {
    if (store_) store_->updateMemberApplication(application, caseFolder_, memberFolder_);
}

// ---------------------------------------------------------------- start-up and folder

AppStore::AppStore(QObject *parent) : AppStore(StartUp::restoreOrDefault, parent) {}

AppStore::AppStore(StartUp startUp, QObject *parent) : QObject(parent) {
    if (startUp == StartUp::restoreOrDefault && !restoreBookmark()) useDefaultFolder();
}

AppStore::~AppStore() { folderWatcher_.reset(); }

QString AppStore::defaultFolderPath() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir::cleanPath(base + QStringLiteral("/Bramwick/客户档案"));
}

bool AppStore::restoreBookmark() {
    QVariant stored = archiveSettings().value(QString::fromLatin1(bookmarkKey));
    if (!stored.isValid()) return false;
    QString path = stored.toString();
    if (path.isEmpty() || !QFileInfo(path).isDir()) return false;
    setRootURL(absoluteFolder(path));
    reload();
    return true;
}

void AppStore::useDefaultFolder() {
    QString folder = defaultFolderPath();
    QDir().mkpath(folder);
    setRootURL(folder);
    reload();
    if (cases_.empty()) seedSampleCases();
}

void AppStore::chooseFolder(const QString &folder) {
    QString root = absoluteFolder(folder);
    saveBookmark(root);
    setRootURL(root);
    setSelection(std::nullopt);
    reload();
}

void AppStore::saveBookmark(const QString &folder) {
    QSettings settings = archiveSettings();
    settings.setValue(QString::fromLatin1(bookmarkKey), absoluteFolder(folder));
    settings.sync();
}

void AppStore::openFolder(const QString &folder) {
    setRootURL(absoluteFolder(folder));
    reload();
}

QString AppStore::watchedFolder() const { return folderWatcher_ ? folderWatcher_->url() : QString(); }

// ---------------------------------------------------------------- state

void AppStore::setRootURL(const std::optional<QString> &root) {
    if (root == rootURL_) return;
    rootURL_ = root;
    emit rootURLChanged();
}

void AppStore::setCases(std::vector<CaseItem> cases) {
    if (cases == cases_) return;
    cases_ = std::move(cases);
    emit casesChanged();
}

void AppStore::setSelection(const std::optional<QString> &folder) {
    if (folder == selection_) return;
    selection_ = folder;
    emit selectionChanged();
}

// ---------------------------------------------------------------- loading

void AppStore::reload() {
    if (!rootURL_) {
        folderWatcher_.reset();
        setCases({});
        return;
    }
    const QString root = *rootURL_;
    if (!(folderWatcher_ && folderWatcher_->url() == root && folderWatcher_->isWatching())) {
        folderWatcher_.reset();
        QPointer<AppStore> self(this);
        folderWatcher_ = FolderWatcher::create(root, [self] {
            if (self) self->reload();
        });
    }

    // Hidden entries (names beginning with ".") are left out by the listing itself.
    const QFileInfoList entries = QDir(root).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
    struct Loaded {
        QString name;
        CaseItem item;
    };
    std::vector<Loaded> loaded;
    loaded.reserve(size_t(entries.size()));
    for (const QFileInfo &entry : entries) {
        if (entry.fileName().startsWith(u'.')) continue;
        if (auto item = loadCase(childPath(root, entry.fileName())))
            loaded.push_back({entry.fileName(), std::move(*item)});
    }
    std::stable_sort(loaded.begin(), loaded.end(),
                     [](const Loaded &a, const Loaded &b) { return naturalLess(a.name, b.name); });
    std::vector<CaseItem> cases;
    cases.reserve(loaded.size());
    for (auto &l : loaded) cases.push_back(std::move(l.item));
    setCases(std::move(cases));
}

std::optional<CaseItem> AppStore::loadCase(const QString &caseFolderIn) {
    const QString caseFolder = absoluteFolder(caseFolderIn);
    auto caseFile = readCaseFile(caseFolder);
    if (!caseFile) return std::nullopt;
    CaseItem item;
    item.folder = caseFolder;
    for (const MemberRecord &record : caseFile->members) {
        // A name that is not one plain path component would lead outside the case folder.
        if (!isPlainPathComponent(record.folderName)) continue;
        MemberItem member;
        member.folder = childPath(caseFolder, QString::fromStdString(record.folderName));
        member.role = record.role;
        std::optional<ClientProfile> profile;
        if (auto text = readWholeFile(childPath(member.folder, QString::fromLatin1(profileName))))
            profile = decodeProfile(*text);
        if (profile) {
            member.profile = std::move(*profile);
        } else {
            member.profile.displayName = record.folderName;
        }
        std::optional<Application> application;
        if (auto text = readWholeFile(childPath(member.folder, QString::fromLatin1(applicationName))))
            application = decodeApplication(*text);
        if (application) member.application = std::move(*application);
        item.members.push_back(std::move(member));
    }
    return item;
}

// ---------------------------------------------------------------- creating and deleting

void AppStore::createCase(ApplicationKind kind, const QString &program, const QString &name) {
    ClientProfile profile;
    profile.displayName = personNameOrDefault(name).toStdString();
    Application application;
    application.kind = kind;
    application.program = program.trimmed().toStdString();
    createCase(profile, application, true);
}

std::optional<QString> AppStore::createCase(const ClientProfile &profile, const Application &application,
                                            bool select) {
    if (!rootURL_) return std::nullopt;
    const QString person = safeFolderName(personNameOrDefault(QString::fromStdString(profile.displayName)));
    const QString program = QString::fromStdString(application.program).trimmed();
    const QString base = program.isEmpty() ? person : safeFolderName(program) + u'-' + person;
    const QString caseFolder = uniqueFolderPath(*rootURL_, base);
    QDir().mkpath(caseFolder);
    const QString memberFolder = childPath(caseFolder, person);
    QDir().mkpath(memberFolder);
    saveProfile(profile, memberFolder);
    saveApplication(application, memberFolder);
    saveCaseFile(CaseFile{{MemberRecord{person.toStdString(), MemberRole::principal}}}, caseFolder);
    reload();
    if (select) setSelection(memberFolder);
    return memberFolder;
}

std::optional<QString> AppStore::createCaseWithMembers(const QString &caseName, const std::vector<NewMember> &members,
                                                       bool select) {
    if (!rootURL_) return std::nullopt;
    const QString caseFolder = uniqueFolderPath(*rootURL_, safeFolderName(caseName));
    QDir().mkpath(caseFolder);
    CaseFile caseFile;
    std::optional<QString> firstMember;
    for (const NewMember &m : members) {
        QString person = QString::fromStdString(m.profile.displayName);
        if (person.isEmpty()) person = QStringLiteral("申请人");
        // Two members of the same name get folders of their own.
        const QString memberFolder = uniqueFolderPath(caseFolder, safeFolderName(person));
        QDir().mkpath(memberFolder);
        saveProfile(m.profile, memberFolder);
        saveApplication(m.application, memberFolder);
        caseFile.members.push_back({folderName(memberFolder).toStdString(), m.role});
        if (!firstMember) firstMember = memberFolder;
    }
    saveCaseFile(caseFile, caseFolder);
    reload();
    if (select && firstMember) setSelection(*firstMember);
    return caseFolder;
}

std::optional<QString> AppStore::addMember(const QString &caseFolderIn, const QString &nameIn, MemberRole role,
                                           const Application &application) {
    if (!rootURL_) return std::nullopt;
    const QString caseFolder = absoluteFolder(caseFolderIn);
    const QString name = personNameOrDefault(nameIn);
    const QString memberFolder = uniqueFolderPath(caseFolder, safeFolderName(name));
    QDir().mkpath(memberFolder);
    ClientProfile profile;
    profile.displayName = name.toStdString();
    saveProfile(profile, memberFolder);
    saveApplication(application, memberFolder);

    // The member list on disk is the truth when it reads (it may have changed since the last
    // reload); else the list as last loaded.
    CaseFile caseFile;
    if (auto onDisk = readCaseFile(caseFolder)) {
        caseFile = std::move(*onDisk);
    } else {
        auto it = std::find_if(cases_.begin(), cases_.end(), [&](const CaseItem &c) { return c.folder == caseFolder; });
        if (it != cases_.end())
            for (const MemberItem &m : it->members) caseFile.members.push_back({folderName(m.folder).toStdString(), m.role});
    }
    caseFile.members.push_back({folderName(memberFolder).toStdString(), role});
    saveCaseFile(caseFile, caseFolder);
    reload();
    return memberFolder;
}

void AppStore::deleteCase(const QString &caseFolderIn) {
    const QString caseFolder = absoluteFolder(caseFolderIn);
    QFile::moveToTrash(caseFolder);
    if (selection_ && *selection_ == caseFolder) setSelection(std::nullopt);
    reload();
}

void AppStore::seedSampleCases() {
    if (!rootURL_) return;
    std::vector<ClientProfile> people = demoProfiles();
    if (people.size() >= 2)
        createCaseWithMembers(QStringLiteral("C11-张三家庭"),
                              {NewMember{people[0], demoWorkApplication(), MemberRole::principal},
                               NewMember{people[1], demoApplication(), MemberRole::spouse}},
                              false);
    if (people.size() >= 3) createCase(people[2], demoApplication(), false);
    setSelection(std::nullopt);
}

// ---------------------------------------------------------------- selection

std::optional<CaseItem> AppStore::selectedCase() const {
    if (!selection_) return std::nullopt;
    for (const CaseItem &c : cases_) {
        if (c.folder == *selection_) return c;
        for (const MemberItem &m : c.members)
            if (m.folder == *selection_) return c;
    }
    return std::nullopt;
}

std::optional<MemberItem> AppStore::selectedMember() const {
    if (!selection_) return std::nullopt;
    for (const CaseItem &c : cases_)
        for (const MemberItem &m : c.members)
            if (m.folder == *selection_) return m;
    return std::nullopt;
}

std::optional<QString> AppStore::selectedMemberCaseFolder() const {
    if (!selection_) return std::nullopt;
    for (const CaseItem &c : cases_)
        for (const MemberItem &m : c.members)
            if (m.folder == *selection_) return c.folder;
    return std::nullopt;
}

std::optional<MemberBinding> AppStore::selectedMemberBinding() {
    auto caseFolder = selectedMemberCaseFolder();
    if (!caseFolder) return std::nullopt;
    return MemberBinding(this, *caseFolder, *selection_);
}

// ---------------------------------------------------------------- member records

const MemberItem *AppStore::findMember(const QString &caseFolder, const QString &memberFolder) const {
    for (const CaseItem &c : cases_) {
        if (c.folder != caseFolder) continue;
        for (const MemberItem &m : c.members)
            if (m.folder == memberFolder) return &m;
        return nullptr;
    }
    return nullptr;
}

MemberItem *AppStore::findMember(const QString &caseFolder, const QString &memberFolder) {
    return const_cast<MemberItem *>(std::as_const(*this).findMember(caseFolder, memberFolder));
}

ClientProfile AppStore::memberProfile(const QString &caseFolder, const QString &memberFolder) const {
    const MemberItem *m = findMember(caseFolder, memberFolder);
    return m ? m->profile : ClientProfile{};
}

Application AppStore::memberApplication(const QString &caseFolder, const QString &memberFolder) const {
    const MemberItem *m = findMember(caseFolder, memberFolder);
    return m ? m->application : Application{};
}

void AppStore::updateMemberProfile(const ClientProfile &profile, const QString &caseFolder,
                                   const QString &memberFolder) {
    MemberItem *m = findMember(caseFolder, memberFolder);
    if (!m) return;
    m->profile = profile;
    emit casesChanged();
    saveProfile(profile, memberFolder);
}

void AppStore::updateMemberApplication(const Application &application, const QString &caseFolder,
                                       const QString &memberFolder) {
    MemberItem *m = findMember(caseFolder, memberFolder);
    if (!m) return;
    m->application = application;
    emit casesChanged();
    saveApplication(application, memberFolder);
}

// ---------------------------------------------------------------- writing

bool AppStore::saveProfile(const ClientProfile &profile, const QString &memberFolder) {
    return writeFileAtomically(childPath(memberFolder, QString::fromLatin1(profileName)), encodeProfile(profile));
}

bool AppStore::saveApplication(const Application &application, const QString &memberFolder) {
    return writeFileAtomically(childPath(memberFolder, QString::fromLatin1(applicationName)),
                               encodeApplication(application));
}

bool AppStore::saveCaseFile(const CaseFile &caseFile, const QString &caseFolder) {
    return writeFileAtomically(childPath(caseFolder, QString::fromLatin1(caseName)), encodeCaseFile(caseFile));
}
