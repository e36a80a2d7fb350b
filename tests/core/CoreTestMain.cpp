#include <QCoreApplication>

#include <gtest/gtest.h>

// Qt Sql needs an application object before its driver loads.
int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
