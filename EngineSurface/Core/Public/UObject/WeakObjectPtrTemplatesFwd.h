#pragma once

template <typename T>
class TWeakObjectPtr;
