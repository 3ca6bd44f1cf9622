#pragma once

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "private-network/PrivateNamespaces.h"
#include "private-network/ScriptedDnsServer.h"
#include "support/MainWindowFixture.h"

namespace zorvek::test {

// Names resolved by a DNS server of the test's own: the process runs in namespaces of its
// own (see the test main), where /etc/resolv.conf names 127.0.0.1 and the test's server
// answers there. The machine's own resolver is never asked.
class NamedServersFixture : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        if (!PrivateNamespacesEntered())
            GTEST_SKIP() << "no private namespaces for a resolver of the test's own: "
                         << PrivateNamespacesProblem();
        MainWindowFixture::SetUp();
        ASSERT_TRUE(resolverFolder.isValid());
        QFile configuration(resolverFolder.filePath(QStringLiteral("resolv.conf")));
        ASSERT_TRUE(configuration.open(QIODevice::WriteOnly));
        configuration.write(ScriptedDnsServer::ResolverConfiguration());
        configuration.close();
        std::string problem;
        ASSERT_TRUE(resolverConfiguration.mount(configuration.fileName(), QStringLiteral("/etc/resolv.conf"),
                                                true, &problem))
            << problem;
        QString why;
        ASSERT_TRUE(dns.listen(&why)) << why.toStdString();
    }

    void TearDown() override { window.reset(); }

    QTemporaryDir resolverFolder;
    ScopedBindMount resolverConfiguration;
    ScriptedDnsServer dns;
};

} // namespace zorvek::test
