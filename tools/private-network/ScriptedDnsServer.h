#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class QUdpSocket;

namespace zorvek {

// A DNS server on 127.0.0.1 port 53 for tests and benchmarks, inside a network namespace of
// their own: it answers the A question of a scripted name with 127.0.0.1, after a delay or
// when its owner releases it, never answers some names and gives NXDOMAIN for the rest. AAAA
// questions get an empty answer at the same moment, as a server with only IPv4 addresses
// gives. It runs on its owner's event loop.
class ScriptedDnsServer : public QObject
{
    Q_OBJECT

public:
    explicit ScriptedDnsServer(QObject* parent = nullptr);
    ~ScriptedDnsServer() override;

    // Binds 127.0.0.1:53. False with the reason when the port cannot be had.
    bool listen(QString* problem);

    // Answers the name with 127.0.0.1 after delayMs (0: at once).
    void answer(const QString& name, int delayMs = 0);
    // Holds the answers of the name until release(name).
    void hold(const QString& name);
    void release(const QString& name);
    // Never answers questions for the name.
    void neverAnswer(const QString& name);
    // Any other name: NXDOMAIN at once.

    // A questions asked for the name so far (retries count again).
    int questions(const QString& name) const { return m_questions.value(name.toLower()); }
    int answersSent() const { return m_answersSent; }

    // The resolver configuration that names this server, for a bind mount over
    // /etc/resolv.conf: one attempt, a short time-out, so that a name that never answers
    // ends its lookup soon.
    static QByteArray ResolverConfiguration();

signals:
    void questionReceived(const QString& name);

private:
    enum class Kind { Answer, Hold, Never };
    struct Script
    {
        Kind kind = Kind::Answer;
        int delayMs = 0;
    };
    struct Question
    {
        QByteArray query;
        QByteArray name; // lower case, without the final dot
        quint16 type = 0;
        QByteArray sender;
        quint16 senderPort = 0;
    };

    void readPending();
    void reply(const Question& question, bool exists);

    QUdpSocket* m_socket = nullptr;
    QHash<QString, Script> m_scripts;
    QHash<QString, int> m_questions;
    QHash<QString, QList<Question>> m_held;
    int m_answersSent = 0;
};

} // namespace zorvek
