#include "qt/WindowSystem.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Takes every display setting away for the life of the object.
class NoDisplay {
public:
    NoDisplay()
    {
        for (const char* variable : Variables) {
            if (const char* value = std::getenv(variable))
                m_saved.emplace_back(variable, value);
            unsetenv(variable);
        }
    }
    ~NoDisplay()
    {
        for (const auto& [variable, value] : m_saved)
            setenv(variable.c_str(), value.c_str(), 1);
    }

private:
    static constexpr const char* Variables[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
    std::vector<std::pair<std::string, std::string>> m_saved;
};

int argumentCount = 1;
char programName[] = "Morvane";
char* arguments[] = {programName, nullptr};

} // namespace

TEST(WindowSystem, WithoutADisplayItSaysSoAndStartsNothing)
{
    NoDisplay none;
    testing::internal::CaptureStderr();
    EXPECT_EQ(WindowSystem::Start(argumentCount, arguments), nullptr);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no display"), std::string::npos);
}

TEST(WindowSystemDeathTest, ADisplayThatCannotBeReachedEndsTheProgramWithItsReason)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    NoDisplay none;
    setenv("DISPLAY", ":97", 1);
    EXPECT_EXIT(WindowSystem::Start(argumentCount, arguments), testing::ExitedWithCode(EXIT_FAILURE),
                "cannot show the window");
}

TEST(WindowSystem, StartsWhereADisplayIsNamed)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::unique_ptr<WindowSystem> system = WindowSystem::Start(argumentCount, arguments);
    ASSERT_NE(system, nullptr);
    EXPECT_NE(qobject_cast<QApplication*>(QCoreApplication::instance()), nullptr);
    system.reset();
    EXPECT_EQ(QCoreApplication::instance(), nullptr);
}
