#pragma once

#include <exception>
#include <string>

namespace Hex {

// The root of the game model's exceptions. Thrown and caught by value; message() is the
// text shown to the user.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : m_message(std::move(message)) {}

    virtual std::string message() const { return m_message; }
    const char* what() const noexcept override { return m_message.c_str(); }

protected:
    void setMessage(std::string message) { m_message = std::move(message); }

private:
    std::string m_message;
};

} // namespace Hex
