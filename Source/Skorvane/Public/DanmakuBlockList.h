#pragma once

#include "CoreMinimal.h"
#include "Internationalization/Regex.h"
#include "Templates/SharedPointer.h"

// Comments a viewer or host does not want to see: plain words, found anywhere in a comment, and regular expressions
// in ICU's syntax. Letter case is ignored for both, in every script: words and comments are compared in the
// engine's culture-correct lower case, patterns match case-insensitively. Checking a comment costs one pass over its
// text for all the words together and one regular-expression search for the patterns that can share one.
class SKORVANE_API FDanmakuBlockList
{
public:
	// False for an empty word or one that is already listed.
	bool AddWord(const FString& Word);
	// False for a pattern that does not compile, that matches the empty text (it would block every comment), that
	// can backtrack for ages (a repeated group holding a quantifier, "^(a+)+$", or alternatives that can start
	// alike, "(a|ab)*"), or is already listed; OutError then says why.
	bool AddPattern(const FString& Pattern, FString& OutError);
	bool RemoveWord(const FString& Word);
	bool RemovePattern(const FString& Pattern);
	void Empty();

	bool IsEmpty() const { return Words.IsEmpty() && Patterns.IsEmpty(); }
	// Lower case, in the order they were added.
	const TArray<FString>& GetWords() const { return Words; }
	const TArray<FString>& GetPatterns() const { return Patterns; }

	// Patterns are matched against the first MaxMatchedLength characters of a comment; words against all of it.
	bool IsBlocked(const FString& Content) const;

	static constexpr int32 MaxMatchedLength = 1000;

	// The text with letter case taken out, as words are listed and comments compared: lower case in every script.
	static FString FoldCase(const FString& Text);

	// Whether the regular expression engine compiles the pattern. The engine's pattern has no validity query, and
	// one that does not compile simply never matches; a pattern with an empty alternative in front matches even
	// empty text exactly when the rest compiles.
	static bool IsValidPattern(const FString& Pattern);

private:
	// One node of the word automaton: the longest listed-word prefix that the text read so far ends with.
	struct FWordState
	{
		// The state for the longest proper suffix of this prefix that is also a prefix of some word.
		int32 Fallback = 0;
		// Some word ends here, or in a state the fallback chain reaches.
		bool bEndsWord = false;
	};

	void BuildWordAutomaton() const;
	void BuildPatternMatchers() const;
	int32 FindTransition(int32 State, TCHAR Character) const;
	bool ContainsWord(const FString& LowerContent) const;

	TArray<FString> Words;
	TArray<FString> Patterns;

	// Built on the first check after a change.
	mutable bool bWordsDirty = false;
	mutable bool bPatternsDirty = false;
	mutable TArray<FWordState> WordStates;
	// Keyed by a mix of the state index and the character.
	mutable TMap<uint64, int32> WordTransitions;
	// Every pattern that can safely sit in one alternation, joined; then those that need a search of their own.
	mutable TArray<TSharedRef<FRegexPattern>> PatternMatchers;
};
