// tests/unit/control_test.cpp
// geo/control.cpp: the rate-limited step toward a target and the limited
// PID step.
#include "geo.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

TEST(ControlStep, ApproachesAndLandsOnTheTarget) {
    const ControlContext context = {1.0};
    double value = 0;
    std::vector<std::pair<double, int>> steps;
    for (int i = 0; i < 4; ++i) {
        const int landed = Control_StepToward(&context, &value, 10, 4);
        steps.push_back({value, landed});
    }
    const std::vector<std::pair<double, int>> expect = {{4, 0}, {8, 0}, {10, 1}, {10, 0}};
    EXPECT_EQ(steps, expect);
    value = 3;
    const ControlContext half = {0.5};
    EXPECT_EQ(Control_StepToward(&half, &value, -1, 4), 0);
    EXPECT_EQ(value, 1.0);
    EXPECT_EQ(Control_StepToward(&half, &value, -1, 4), 0); // exactly on it
    EXPECT_EQ(value, -1.0);
}

TEST(Pid, ClearsTheIntegralWhenOverdrivenAndLimitsItsOutput) {
    PidController c = {};
    c.tag = 77;
    c.kp = 2;
    c.ki = 0.1;
    c.integral = 2.5;
    c.integralMin = -3;
    c.integralMax = 3;
    c.setpoint = 0.6;
    Pid_Step(&c);
    EXPECT_DOUBLE_EQ(c.pTerm, 1.2);
    EXPECT_EQ(c.integral, 0.0);
    EXPECT_EQ(c.output, 1.0);
    EXPECT_EQ(c.tag, 77);

    PidController held = {};
    held.kp = 0.5;
    held.ki = 0.1;
    held.kd = 10;
    held.integral = 5;
    held.integralMin = -3;
    held.integralMax = 3;
    held.setpoint = 1;
    held.previousInput = 0.3;
    Pid_Step(&held);
    EXPECT_EQ(held.integral, 3.0);
    EXPECT_DOUBLE_EQ(held.dTerm, 3.0); // on the input's change, not the error's
    EXPECT_EQ(held.previousInput, 0.0);
    EXPECT_EQ(held.output, 1.0);

    PidController low = {};
    low.kp = 0.3;
    low.kd = 10;
    low.integralMin = -1;
    low.integralMax = 1;
    low.input = 0.3;
    Pid_Step(&low);
    EXPECT_EQ(low.output, -1.0); // -0.09 - 3
}

} // namespace
