// A library made with another feedback address posts there: the local
// address of the tests, on the port the build names.
#include "feedback_http/feedback_submission.h"

#include "child_process.h"
#include "http_test_server.h"

#include <gtest/gtest.h>

TEST(FeedbackEndpoint, PostFeedbackGoesToTheAddressTheBuildSet)
{
    HttpTestServer server;
    // The port is fixed: another test of the machine may still hold it a while.
    ASSERT_TRUE(WaitUntil([&] { return server.Start(KIT_TEST_FEEDBACK_PORT); }, 30000, 250))
        << "port " << KIT_TEST_FEEDBACK_PORT << " stayed busy";
    server.SetDefaultAnswer(HttpAnswer{200, "thanks"});

    EXPECT_EQ(Kesto::PostFeedback(L"重复IP太多", L"", L""), "thanks");

    ASSERT_TRUE(server.WaitForRequests(1, 10000));
    HttpRequest request = server.Requests()[0];
    EXPECT_EQ(request.target, "/index.php/ip/client/feedback");
    EXPECT_EQ(request.Header("Host"), "127.0.0.1:" + std::to_string(KIT_TEST_FEEDBACK_PORT));
    EXPECT_EQ(request.body, "contact=&reason=%E9%87%8D%E5%A4%8DIP%E5%A4%AA%E5%A4%9A&sys_info=");
}
