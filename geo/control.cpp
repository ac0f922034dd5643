// geo/control.cpp
// Two control steps: a rate-limited approach to a target and one step of a
// PID controller whose output is limited to +-1.
#include "geo.h"

int32_t Control_StepToward(const ControlContext* context, double* value, double target,
                           double rate) {
    if (*value == target)
        return 0;
    const double step = rate * context->stepTime;
    if (target - *value > 0.0) {
        *value += step;
        if (*value > target) {
            *value = target;
            return 1;
        }
        return 0;
    }
    *value -= step;
    if (*value < target) {
        *value = target;
        return 1;
    }
    return 0;
}

void Pid_Step(PidController* c) {
    c->error = c->setpoint - c->input;
    c->pTerm = c->kp * c->error;
    c->integral += c->error;
    if (c->integral > c->integralMax)
        c->integral = c->integralMax;
    else if (c->integral < c->integralMin)
        c->integral = c->integralMin;
    if (c->pTerm > 1.0 || c->pTerm < -1.0)
        c->integral = 0.0; // saturated: no wind-up
    c->iTerm = c->ki * c->integral;
    c->dTerm = (c->previousInput - c->input) * c->kd;
    c->previousInput = c->input;
    c->output = c->pTerm + c->iTerm + c->dTerm;
    if (c->output > 1.0)
        c->output = 1.0;
    else if (c->output < -1.0)
        c->output = -1.0;
}
