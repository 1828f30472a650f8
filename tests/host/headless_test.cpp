#include "platform/host/headless.h"
#include "platform/host/host_services.h"
#include "platform/host/phone.h"

#include "ce/phone.h"
#include "emulator.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

TEST(Headless, EndsWhenNothingCanWakeTheProgramOrTimeIsUp) {
    host::startHeadless(30);
    EXPECT_TRUE(host::headlessIdle(1)) << "a timer is still to come";
    EXPECT_FALSE(host::headlessIdle(-1));
    EXPECT_TRUE(host::headlessIdle(5)) << "an ending program's timers still run, and it is not asked again at once";
    int waits = 0;
    while (host::headlessIdle(-1) && waits < 100) ++waits;
    EXPECT_LT(waits, 100) << "a program that goes on waiting is asked again";

    host::startHeadless(1);
    EXPECT_TRUE(host::headlessIdle(60000)) << "sleeps only until the deadline";
    EXPECT_FALSE(host::headlessIdle(60000));
}


TEST(PhoneProfile, CallsAreConfirmedThenJournalled) {
    host::setLaunchMode(host::LaunchMode::Journal);
    emu::clearJournal();
    EXPECT_EQ(LoadLibraryW(u"phone.dll"), nullptr);
    host::installPhoneProfile();
    HMODULE library = LoadLibraryW(u"\\Windows\\PHONE.DLL");
    ASSERT_NE(library, nullptr);
    auto call = reinterpret_cast<PHONEMAKECALL>(reinterpret_cast<void (*)()>(GetProcAddressW(library, u"PhoneMakeCall")));
    ASSERT_NE(call, nullptr);

    std::vector<std::u16string> asked;
    int answer = IDNO;
    emu::MessageBoxHandler previous = emu::setMessageBoxHandler(
        [&](HWND, std::u16string_view text, std::u16string_view, UINT) {
            asked.emplace_back(text);
            return answer;
        });
    PHONEMAKECALLINFO request = {sizeof request, PMCF_PROMPTBEFORECALLING, u"+78121234567", nullptr, nullptr, nullptr};
    EXPECT_NE(call(&request), 0) << "declined";
    answer = IDYES;
    EXPECT_EQ(call(&request), 0);
    request.dwFlags = 1;
    request.pszDestAddress = u"8 (812) 123-45-67#2";
    EXPECT_EQ(call(&request), 0);
    request.pszDestAddress = u"123; rm -rf";
    EXPECT_NE(call(&request), 0);
    request.cbSize = 8;
    EXPECT_NE(call(&request), 0);
    emu::setMessageBoxHandler(std::move(previous));

    EXPECT_THAT(asked, ElementsAre(u"Позвонить по номеру +78121234567?", u"Позвонить по номеру +78121234567?"));
    EXPECT_THAT(emu::journal(), ElementsAre("call tel:+78121234567", "call tel:88121234567%232"));
    FreeLibrary(library);
    host::removePhoneProfile();
    EXPECT_THAT(host::telephoneAddressOf(u""), IsEmpty());
}

}  // namespace
