#include "app/single_instance.h"

#include "platform/file_lock.h"
#include "platform/settings_store.h"
#include "platform/user_folders.h"

#include <QLocalSocket>

#include <unistd.h>
#include <system_error>

namespace lumora {
namespace {

constexpr char kRaiseRequest[] = "raise\n";
constexpr qsizetype kLongestRequest = 64;
constexpr int kConnectTimeoutMs = 1000;

std::string HostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || !name[0]) return "localhost";
    return name;
}

QString SocketName(const std::filesystem::path& file) { return QString::fromStdString(file.string()); }

}  // namespace

SingleInstance::SingleInstance(std::filesystem::path socketFile, QObject* parent)
        : QObject(parent), socketFile_(std::move(socketFile)) {
    // Only this user may reach the socket.
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::AcceptConnections);
}

SingleInstance::~SingleInstance() { server_.close(); }

std::filesystem::path SingleInstance::DefaultSocketFile() {
    if (const auto runtime = RuntimeFolder(); !runtime.empty()) return runtime / "lumora.socket";
    const auto settings = SettingsStore::DefaultFile();
    if (settings.empty()) return {};
    return settings.parent_path() / ("instance-" + HostName() + ".socket");
}

SingleInstance::Claim SingleInstance::ClaimOrNotify() {
    if (socketFile_.empty()) return Claim::kFirst;
    std::error_code ignored;
    std::filesystem::create_directories(socketFile_.parent_path(), ignored);
    const FileLock lock(socketFile_.string() + ".lock");
    switch (NotifyRunningCopy()) {
        case Probe::kAnswered: return Claim::kAnotherRuns;
        case Probe::kNobody: Listen(); return Claim::kFirst;
        case Probe::kUnknown: return Claim::kFirst;
    }
    return Claim::kFirst;
}

SingleInstance::Probe SingleInstance::NotifyRunningCopy() {
    QLocalSocket socket;
    socket.connectToServer(SocketName(socketFile_));
    if (socket.waitForConnected(kConnectTimeoutMs)) {
        socket.write(kRaiseRequest);
        socket.waitForBytesWritten(kConnectTimeoutMs);
        socket.disconnectFromServer();
        return Probe::kAnswered;
    }
    switch (socket.error()) {
        // No socket, or one nobody listens on: a copy that crashed left it.
        case QLocalSocket::ServerNotFoundError:
        case QLocalSocket::ConnectionRefusedError: return Probe::kNobody;
        // There, but too busy to accept: it still runs.
        case QLocalSocket::SocketTimeoutError: return Probe::kAnswered;
        default: return Probe::kUnknown;
    }
}

bool SingleInstance::Listen() {
    QLocalServer::removeServer(SocketName(socketFile_));
    return server_.listen(SocketName(socketFile_));
}

void SingleInstance::AcceptConnections() {
    while (QLocalSocket* client = server_.nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        connect(client, &QLocalSocket::readyRead, this, [this, client] {
            const QByteArray request = client->peek(kLongestRequest + 1);
            if (request.contains('\n') || request.size() > kLongestRequest) {
                client->readAll();
                client->disconnectFromServer();
                if (request.startsWith(kRaiseRequest)) emit raiseRequested();
            }
        });
    }
}

}  // namespace lumora
