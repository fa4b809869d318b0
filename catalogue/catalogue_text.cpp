#include "catalogue/catalogue.h"

// One entry per line: explanation, "@@", statement. Entries 1, 9, 20, 21 and 22 explain wildcards and
// aggregate functions and repeat the explanation in place of a statement.
// clang-format off
const TextView kCatalogueText =
    /*  1 */ "与LIKE操作符一起使用的两个通配符：百分号(％)表示零个，一个或多个数字或字符。下划线(_)表示一个数字或字符。" "@@" "与LIKE操作符一起使用的两个通配符：百分号(％)表示零个，一个或多个数字或字符。下划线(_)表示一个数字或字符。" "\r\n"
    /*  2 */ "从STUDENT表中，查询 FEES 以200开头的任何记录。" "@@" "SELECT * FROM STUDENT WHERE FEES LIKE '200%'" "\r\n"
    /*  3 */ "从STUDENT表中，查找 FEES 包含200的任何值。" "@@" "SELECT * FROM STUDENT WHERE FEES LIKE '%200%'" "\r\n"
    /*  4 */ "从STUDENT表中，查找 FEES 第二个位置和第三个位置是0的任何值。" "@@" "SELECT * FROM STUDENT WHERE FEES LIKE '_00%'" "\r\n"
    /*  5 */ "从STUDENT表中，查找 FEES 以2开头并且长度至少为3个字符的值。" "@@" "SELECT * FROM STUDENT WHERE FEES LIKE '2_%_%'" "\r\n"
    /*  6 */ "从STUDENT表中，查找 FEES 以2结尾的任何值。" "@@" "SELECT * FROM STUDENT WHERE FEES LIKE '%2'" "\r\n"
    /*  7 */ "从STUDENT表中，查找 FEES 任何在第二个位置值为2，并以3结尾的值。" "@@" "SELECT * FROM STUDENT WHERE FEES LIKE '_2%3'" "\r\n"
    /*  8 */ "从STUDENT表中，查找 FEES 以2开头，以3结尾的一个五位数字值。" "@@" "SELECT * FROM STUDENT WHERE FEES LIKE '2___3'" "\r\n"
    /*  9 */ "与GLOB操作符一起使用的两个通配符：星号(*)： 符号表示零个或多个数字或字符。问号(?)： 符号表示单个数字或字符。使用同LIKE。" "@@" "与GLOB操作符一起使用的两个通配符：星号(*)： 符号表示零个或多个数字或字符。问号(?)： 符号表示单个数字或字符。使用同LIKE。" "\r\n"
    /* 10 */ "从STUDENT表中选择所有年龄为25或27或30岁的学生信息。" "@@" "SELECT * FROM STUDENT WHERE AGE IN (25,27,30)" "\r\n"
    /* 11 */ "从STUDENT表中选择所有年龄不是25，也不是27岁的学生信息。" "@@" "SELECT * FROM STUDENT WHERE AGE NOT IN (25,27)" "\r\n"
    /* 12 */ "假设有一个DEPARTMENT的表，记录每个学生的所在的部门，其中EMP_ID字段引用STUDENT表的ID字段，现在查询每个分配了部门的学生的信息。" "@@" "SELECT ID,AGE,NAME,ADDRESS FROM STUDENT WHERE ID IN (SELECT EMP_ID FROM  DEPARTMENT )" "\r\n"
    /* 13 */ "使用LIMIT子句，根据需要的行数从STUDENT表中返回指定记录数量。" "@@" "SELECT * FROM STUDENT LIMIT 3" "\r\n"
    /* 14 */ "从STUDENT表中的第2位开始选择2条记录。" "@@" "SELECT * FROM STUDENT LIMIT 2 OFFSET 1" "\r\n"
    /* 15 */ "从STUDENT表获取所有数据，并按ADDRESS和FEES对结果进行降序排序。" "@@" "SELECT * FROM STUDENT ORDER BY ADDRESS, FEES DESC" "\r\n"
    /* 16 */ "使用GROUP BY语句按NAME列来分组并对同分组内的所有的记录的FEES列求和。" "@@" "SELECT NAME, SUM(FEES) FROM STUDENT GROUP BY NAME" "\r\n"
    /* 17 */ "可以使用ORDER BY子句和GROUP BY按升序或降序排列数据。" "@@" "SELECT NAME, SUM(FEES) AS TOTAL_FEES FROM STUDENT GROUP BY NAME ORDER BY TOTAL_FEES DESC" "\r\n"
    /* 18 */ "查询每个名字的数量。" "@@" "SELECT NAME, COUNT(NAME) AS TOTAL_NUMBER FROM STUDENT GROUP BY NAME" "\r\n"
    /* 19 */ "查询NAME的数量小于2的所有记录。" "@@" "SELECT NAME, COUNT(NAME) AS TOTAL_NUMBER FROM STUDENT GROUP BY NAME HAVING COUNT(NAME) < 2" "\r\n"
    /* 20 */ "聚合函数：MIN()函数用于查询某列的最低(最小)值。MAX()函数用于查询某列的最高(最大)值。AVG()函数用于查询某列的平均值。" "@@" "聚合函数：MIN()函数用于查询某列的最低(最小)值。MAX()函数用于查询某列的最高(最大)值。AVG()函数用于查询某列的平均值。" "\r\n"
    /* 21 */ "聚合函数：COUNT()函数用于计算数据库表中的行数。SUM()函数用于查询指定数字列的总数(相加的总和)。RANDOM()函数返回-9223372036854775808与+9223372036854775807之间的伪随机整数。" "@@" "聚合函数：COUNT()函数用于计算数据库表中的行数。SUM()函数用于查询指定数字列的总数(相加的总和)。RANDOM()函数返回-9223372036854775808与+9223372036854775807之间的伪随机整数。" "\r\n"
    /* 22 */ "聚合函数：ABS()函数用于获取给定参数的绝对值。UPPER()函数用于将给定字符串参数转换为大写字母。LOWER()函数用于将给定字符串参数转换为小写字母。LENGTH()函数用于获取给定字符串的长度。" "@@" "聚合函数：ABS()函数用于获取给定参数的绝对值。UPPER()函数用于将给定字符串参数转换为大写字母。LOWER()函数用于将给定字符串参数转换为小写字母。LENGTH()函数用于获取给定字符串的长度。" "\r\n"
    /* 23 */ "使用DISTINCT关键字从STUDENT表中选择NAME字段，并过滤掉重复的名字。" "@@" "SELECT DISTINCT NAME FROM STUDENT(备注：也可加 WHERE [CONDITION])";
// clang-format on
